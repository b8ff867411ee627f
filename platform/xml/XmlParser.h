#pragma once
#include <optional>
#include <string>

#include "platform/xml/XmlParseError.h"
#include "platform/xml/XmlParserDelegate.h"

namespace xml {

// Event-driven XML parser over a document held in memory (expat, namespace processing off).
// The encoding comes from the document's prolog: UTF-8, UTF-16, US-ASCII and ISO-8859-1 natively,
// other single-byte character sets (windows-1258, windows-1252, KOI8-R…) through iconv.
// External entities are never loaded, and runaway entity expansion is stopped as an error.
class XmlParser {
 public:
  explicit XmlParser(std::string data);
  XmlParser(const XmlParser&) = delete;
  XmlParser& operator=(const XmlParser&) = delete;

  // Not owned; may be null.
  void setDelegate(XmlParserDelegate* delegate) { delegate_ = delegate; }
  XmlParserDelegate* delegate() const { return delegate_; }

  // Parses the whole document, sending events to the delegate. Returns false when the document
  // is not well-formed; events sent before the fault stand. One call per parser.
  bool parse();
  // The fault of the last parse, if any.
  const std::optional<XmlParseError>& parserError() const { return error_; }

 private:
  std::string data_;
  XmlParserDelegate* delegate_ = nullptr;
  std::optional<XmlParseError> error_;
  bool parsed_ = false;

  friend struct XmlParserCallbacks;
};

}  // namespace xml
