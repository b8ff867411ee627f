#include "tests/app/demo/SiteDocument.h"

#include <expat.h>

struct SiteDocumentHandlers {
  static void start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* doc = static_cast<SiteDocument*>(data);
    SiteDocument::Element element;
    element.name = name;
    for (int i = 0; attributes[i]; i += 2) element.attributes[attributes[i]] = attributes[i + 1];
    element.parent = doc->open_.empty() ? -1 : doc->open_.back();
    doc->open_.push_back(static_cast<int>(doc->elements_.size()));
    doc->elements_.push_back(std::move(element));
  }
  static void end(void* data, const XML_Char*) {
    static_cast<SiteDocument*>(data)->open_.pop_back();
  }
  static void text(void* data, const XML_Char* s, int length) {
    auto* doc = static_cast<SiteDocument*>(data);
    if (!doc->open_.empty()) doc->elements_[doc->open_.back()].text.append(s, length);
  }
};

bool SiteDocument::parse(const std::string& xml) {
  elements_.clear();
  open_.clear();
  error_.clear();
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, this);
  XML_SetElementHandler(parser, SiteDocumentHandlers::start, SiteDocumentHandlers::end);
  XML_SetCharacterDataHandler(parser, SiteDocumentHandlers::text);
  bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
  if (!ok)
    error_ = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
             std::to_string(XML_GetCurrentLineNumber(parser));
  XML_ParserFree(parser);
  return ok;
}

std::vector<const SiteDocument::Element*> SiteDocument::named(const std::string& name) const {
  std::vector<const Element*> found;
  for (const Element& e : elements_)
    if (e.name == name) found.push_back(&e);
  return found;
}

const SiteDocument::Element* SiteDocument::child(const Element& parent,
                                                 const std::string& name) const {
  int index = static_cast<int>(&parent - elements_.data());
  for (const Element& e : elements_)
    if (e.parent == index && e.name == name) return &e;
  return nullptr;
}
