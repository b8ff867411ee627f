#include "reader/feed/HTTPConnection.h"

#include <algorithm>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/net/UrlLoader.h"
#include "reader/model/Utilities.h"

namespace {

// Logs "<label><value>" only when logging is on, so parsing does not build lines for nothing.
void logValue(std::string_view label, std::string_view value) {
  if (!base::Log::enabled()) return;
  std::string line(label);
  line += value;
  base::log(line);
}

// Largest cut <= `at` that does not split a UTF-8 sequence of `s`.
size_t utf8Boundary(const std::string& s, size_t at) {
  while (at > 0 && at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) --at;
  return at;
}

// Removes every `c` in place. Texts hold few of them, so whole runs between matches are moved
// at once instead of testing byte by byte.
void eraseAll(std::string& s, char c) {
  size_t hit = s.find(c);
  if (hit == std::string::npos) return;
  size_t out = hit;
  while (hit != std::string::npos) {
    size_t from = hit + 1;
    hit = s.find(c, from);
    size_t length = (hit == std::string::npos ? s.size() : hit) - from;
    std::char_traits<char>::move(s.data() + out, s.data() + from, length);
    out += length;
  }
  s.resize(out);
}

}  // namespace

HTTPConnection::HTTPConnection(double timeoutSeconds) : timeout_(timeoutSeconds) {}

HTTPConnection::~HTTPConnection() {
  base::log("PARSER DEALLOC");
}

void HTTPConnection::startParsingWithURL(const std::string& address) {
  net::NetworkActivityIndicator::shared().setVisible(true);
  dataInArray.clear();
  downloadError_ = net::Error();
  parseError_.reset();
  logValue("REQUEST = ", address);

  // The loader keeps no cache, so there is no cache to switch off before loading.
  std::optional<net::Url> url = net::Url::parse(net::escapeAddress(address));
  if (!url) {
    downloadError_ = net::Error(net::Error::kDomain, net::Error::BadURL,
                                "Not a web address: \"" + address + "\"");
    return;
  }
  net::UrlRequest request(*url, net::UrlRequest::CachePolicy::ReloadIgnoringLocalCacheData,
                          timeout_);
  net::LoadResult result = net::UrlLoader::sendSynchronousRequest(request);
  if (base::Log::enabled())
    base::log(base::format("PACKET SIZE = %d bytes", static_cast<int>(result.body.size())));
  if (!result.error.ok()) {
    downloadError_ = result.error;
    return;
  }
  // An error page is not a document of the site: treat it like a failed download.
  int status = result.response.statusCode();
  if (status != 0 && (status < 200 || status > 299)) {
    downloadError_ =
        net::Error("http", status, "The server answered with status " + std::to_string(status));
    return;
  }
  if (result.body.empty()) {
    downloadError_ = net::Error("http", status, "The server sent an empty document");
    return;
  }
  parseData(std::move(result.body));
}

void HTTPConnection::parseData(std::string data) {
  xml::XmlParser rssParser(std::move(data));
  rssParser.setDelegate(this);
  rssParser.parse();
}

std::vector<FeedRecord> HTTPConnection::getDataInArray() {
  net::NetworkActivityIndicator::shared().setVisible(false);
  return dataInArray;
}

void HTTPConnection::didStartElement(xml::XmlParser&, std::string_view name,
                                     const xml::XmlAttributes& attributes) {
  base::log("start element");
  currentElement.assign(name);

  if (name == "item") {
    haveStoryBuffers_ = true;
    currTitle.clear();
    currLink.clear();
    currDescription.clear();
    currPubDate.clear();
    currGuid.clear();
    currImg.clear();
  }
  if (name == "media:thumbnail") {
    currImg.assign(attributes.find("url").value_or(""));
  } else if (name == "service") {
    if (auto value = attributes.find("name")) currServiceName.assign(*value);
    if (auto value = attributes.find("link")) currServiceLink.assign(*value);
    currSubServiceArray.emplace();
  } else if (name == "subService") {
    auto sub = std::make_shared<SubService>();
    if (auto value = attributes.find("name")) sub->name.assign(*value);
    if (auto value = attributes.find("link")) sub->link.assign(*value);
    logValue("--- ", sub->name);
    // Outside an open category there is no list to join.
    if (currSubServiceArray) currSubServiceArray->push_back(std::move(sub));
  } else if (name == "img") {
    logValue("IMG = ", attributes.find("src").value_or(""));
  }
  currentBuffer_ = bufferForCurrentElement();
}

std::string* HTTPConnection::bufferForCurrentElement() {
  if (!haveStoryBuffers_) return nullptr;
  if (currentElement == "title") return &currTitle;
  if (currentElement == "link") return &currLink;
  if (currentElement == "description") return &currDescription;
  if (currentElement == "pubDate") return &currPubDate;
  if (currentElement == "guid") return &currGuid;
  return nullptr;
}

void HTTPConnection::foundCharacters(xml::XmlParser&, std::string_view text) {
  if (currentBuffer_) currentBuffer_->append(text);
}

void HTTPConnection::didEndElement(xml::XmlParser&, std::string_view name) {
  if (name == "item" && haveStoryBuffers_) {
    finishItem();
  } else if (name == "service") {
    finishService();
  }
}

void HTTPConnection::parseErrorOccurred(xml::XmlParser&, const xml::XmlParseError& error) {
  parseError_ = error;
}

void HTTPConnection::finishItem() {
  auto item = std::make_shared<Item>();
  std::string title = currTitle;
  eraseAll(title, '\n');
  item->title = std::move(title);
  item->link = base::removingWhitespace(currLink);

  // A summary may start with a picture tag, <img src="ADDRESS" />, which gives the avatar. The
  // avatar is looked for in C: a cleaned copy of the summary when it has a tag, else the summary.
  std::string summary;  // C, when the summary has a picture tag
  bool hasTag = currDescription.find("<img") != std::string::npos;
  bool pictureUsable = true;
  if (hasTag) {
    summary = currDescription;
    base::replaceAll(currDescription, "<img", "");
    size_t end = currDescription.find("/>");  // P
    if (end == std::string::npos) {
      // An unclosed picture tag: drop the tag up to its ">" (or everything after "<img" when it
      // has none) and take no avatar from it.
      pictureUsable = false;
      size_t tag = summary.find("<img");
      size_t close = summary.find('>', tag);
      summary.erase(tag, close == std::string::npos ? std::string::npos : close + 1 - tag);
      eraseAll(summary, '\n');
      currDescription = std::move(summary);
    } else {
      eraseAll(summary, '\n');
      base::replaceAll(summary, "<img src=\"", "");
      eraseAll(summary, '"');
      if (end < summary.size()) summary.resize(utf8Boundary(summary, end));
      currDescription.erase(0, end);
      base::replaceAll(currDescription, "/>", "");
      eraseAll(currDescription, '\n');
    }
  }
  if (pictureUsable) {
    std::string_view words = hasTag ? std::string_view(summary) : currDescription;
    // The first blank-separated word that contains "http".
    for (size_t start = 0; start <= words.size();) {
      size_t blank = words.find(' ', start);
      std::string_view word = words.substr(
          start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
      if (word.find("http") != std::string_view::npos) {
        logValue("Img = ", word);
        item->avatar = std::string(word);
        break;
      }
      if (blank == std::string_view::npos) break;
      start = blank + 1;
    }
  }
  // The buffers are emptied when the next story starts, so the summary can move out.
  item->description = std::move(currDescription);
  currDescription.clear();

  std::string pubDate = currPubDate;
  eraseAll(pubDate, '\n');
  item->pubDate = Utilities::convertTimeWithTime(pubDate);
  item->guid = base::removingWhitespace(currGuid);
  item->imgLink = currImg;

  if (base::Log::enabled()) {
    logValue("TITLE = ", *item->title);
    logValue("LINK = ", *item->link);
    logValue("DESCRIPTION = ", *item->description);
    logValue("PUBDATE = ", *item->pubDate);
    logValue("GUID = ", *item->guid);
    logValue("img link = ", *item->imgLink);
    base::log("---------------------");
  }
  dataInArray.emplace_back(std::move(item));
}

void HTTPConnection::finishService() {
  auto service = std::make_shared<Service>();
  service->name = currServiceName;
  service->link = currServiceLink;
  if (currSubServiceArray) service->subService = std::move(*currSubServiceArray);
  currSubServiceArray.reset();
  dataInArray.emplace_back(std::move(service));
}
