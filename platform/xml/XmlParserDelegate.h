#pragma once
#include <string_view>

#include "platform/xml/XmlAttributes.h"
#include "platform/xml/XmlParseError.h"

namespace xml {

class XmlParser;

// Receives the events of an XmlParser. Every method is optional. Names are the qualified names as
// written ("media:thumbnail"); text arrives in UTF-8, possibly in several pieces per element.
class XmlParserDelegate {
 public:
  virtual ~XmlParserDelegate() = default;

  virtual void didStartElement(XmlParser&, std::string_view /*name*/,
                               const XmlAttributes& /*attributes*/) {}
  virtual void foundCharacters(XmlParser&, std::string_view /*text*/) {}
  virtual void didEndElement(XmlParser&, std::string_view /*name*/) {}
  // Sent once when the document turns out not to be well-formed; parsing stops there.
  virtual void parseErrorOccurred(XmlParser&, const XmlParseError& /*error*/) {}
};

}  // namespace xml
