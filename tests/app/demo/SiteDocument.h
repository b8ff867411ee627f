#pragma once
#include <map>
#include <string>
#include <vector>

// An XML document of the demo site (menu or feed) read with expat, namespace processing off as
// the reader reads it: the elements in document order, each with its attributes, its own text
// and its parent.
class SiteDocument {
 public:
  struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    int parent = -1;
  };

  // False, with error() telling why, when the text is not well-formed XML.
  bool parse(const std::string& xml);
  const std::string& error() const { return error_; }

  const std::vector<Element>& elements() const { return elements_; }
  std::vector<const Element*> named(const std::string& name) const;
  // The first child of `parent` with that name, or null.
  const Element* child(const Element& parent, const std::string& name) const;

 private:
  std::vector<Element> elements_;
  std::vector<int> open_;
  std::string error_;

  friend struct SiteDocumentHandlers;
};
