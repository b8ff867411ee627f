#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "facebook/FBValue.h"
#include "platform/xml/XmlParserDelegate.h"

// Turns a REST answer into values while it is parsed: an element with text becomes a string, one
// with child elements a dictionary keyed by their names (a later sibling of the same name
// replaces an earlier one), one marked list="true" an array, and an empty one null. The open
// elements are kept on a heap stack, so any nesting depth is handled.
class FBXMLHandler : public xml::XmlParserDelegate {
 public:
  const FBValue& rootObject() const { return rootObject_; }
  FBValue takeRootObject() { return std::exchange(rootObject_, FBValue()); }
  const std::string& rootName() const { return rootName_; }
  const std::optional<xml::XmlParseError>& parseError() const { return parseError_; }

  void didStartElement(xml::XmlParser&, std::string_view name,
                       const xml::XmlAttributes& attributes) override;
  void foundCharacters(xml::XmlParser&, std::string_view text) override;
  void didEndElement(xml::XmlParser&, std::string_view name) override;
  void parseErrorOccurred(xml::XmlParser&, const xml::XmlParseError& error) override;

 private:
  // Gives the open element the text collected since the last element event, unless it is all
  // white space; inside an array the text is wrapped as {element name: text}.
  void flushCharacters();
  // An open element's value, made a dictionary first unless it already is a container.
  static FBValue& topContainerForChild(FBValue& top);
  // Orders a finished element's members by name, keeping the last of each name (a later sibling
  // replaces an earlier one).
  static void finishMembers(FBValue& value);

  std::vector<FBValue> stack_;
  std::vector<std::string> nameStack_;
  FBValue rootObject_;
  std::string rootName_;
  std::string chars_;
  std::optional<xml::XmlParseError> parseError_;
};
