#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/Error.h"
#include "platform/xml/XmlParser.h"
#include "reader/feed/FeedRecord.h"
#include "reader/model/SubService.h"

// The reader's client of the news site: downloads one document (the category menu or an RSS
// story feed), parses it and hands back its records in document order. One object per document:
// create, startParsingWithURL(), getDataInArray(), destroy.
class HTTPConnection : public xml::XmlParserDelegate {
 public:
  static constexpr double kDefaultTimeoutSeconds = 10.0;

  explicit HTTPConnection(double timeoutSeconds = kDefaultTimeoutSeconds);
  ~HTTPConnection() override;
  HTTPConnection(const HTTPConnection&) = delete;
  HTTPConnection& operator=(const HTTPConnection&) = delete;

  // Shows the network activity indicator, downloads the document at `address` (blanks and
  // non-ASCII letters are percent-escaped first) on the calling thread and parses it. A transport
  // error, an HTTP error status or an empty body leaves the result empty.
  void startParsingWithURL(const std::string& address);
  // Parses a document already in memory into the result (what startParsingWithURL does with
  // the downloaded body).
  void parseData(std::string data);
  // The records (possibly none); hides the network activity indicator.
  std::vector<FeedRecord> getDataInArray();

  // Why the last download gave nothing: a transport error (domain "net"), or an HTTP error
  // status (domain "http", code = status). Code 0 when the download succeeded.
  const net::Error& downloadError() const { return downloadError_; }
  // Where the last document stopped being well-formed, if it did.
  const std::optional<xml::XmlParseError>& parseError() const { return parseError_; }

  void didStartElement(xml::XmlParser& parser, std::string_view name,
                       const xml::XmlAttributes& attributes) override;
  void foundCharacters(xml::XmlParser& parser, std::string_view text) override;
  void didEndElement(xml::XmlParser& parser, std::string_view name) override;
  void parseErrorOccurred(xml::XmlParser& parser, const xml::XmlParseError& error) override;

 private:
  void finishItem();
  void finishService();

  double timeout_;
  std::vector<FeedRecord> dataInArray;
  // Absent when no category is open (characters and sub-categories then have nowhere to go).
  std::optional<std::vector<SubServicePtr>> currSubServiceArray;
  // The story buffers exist once the first `item` started; until then their text is dropped.
  bool haveStoryBuffers_ = false;
  std::string currTitle, currLink, currDescription, currPubDate, currGuid;
  std::string currImg;
  std::string currServiceName, currServiceLink;
  std::string* currentBuffer_ = nullptr;
  net::Error downloadError_;
  std::optional<xml::XmlParseError> parseError_;
};
