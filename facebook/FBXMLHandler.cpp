#include "facebook/FBXMLHandler.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>

#include "platform/xml/XmlAttributes.h"

namespace {

// White space and line breaks as the Unicode separator categories define them, plus the ASCII
// controls tab to carriage return and NEL.
bool isSpaceCodePoint(std::uint32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// Whether UTF-8 text holds anything but white space. The parser hands over valid UTF-8 only.
bool hasVisibleText(const std::string& text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    std::uint32_t c = *p;
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    if (end - p <= extra) return true;
    if (extra > 0) c &= 0x3F >> extra;
    for (int i = 1; i <= extra; ++i) c = (c << 6) | (p[i] & 0x3F);
    if (!isSpaceCodePoint(c)) return true;
    p += extra + 1;
  }
  return false;
}

}  // namespace

void FBXMLHandler::didStartElement(xml::XmlParser&, std::string_view name,
                                   const xml::XmlAttributes& attributes) {
  flushCharacters();
  auto list = attributes.find("list");
  stack_.push_back(list && *list == "true" ? FBValue::emptyArray() : FBValue());
  nameStack_.emplace_back(name);
}

void FBXMLHandler::foundCharacters(xml::XmlParser&, std::string_view text) {
  chars_.append(text);
}

void FBXMLHandler::flushCharacters() {
  if (chars_.empty()) return;
  if (!stack_.empty() && hasVisibleText(chars_)) {
    bool inArray = stack_.size() >= 2 && stack_[stack_.size() - 2].array() != nullptr;
    if (inArray) {
      FBValue wrapped = FBValue::emptyDictionary();
      wrapped.dictionary()->emplace_back(nameStack_.back(), FBValue(chars_));
      stack_.back() = std::move(wrapped);
    } else {
      // A copy, so the collecting buffer keeps its capacity for the next element.
      stack_.back().setText(chars_);
    }
  }
  chars_.clear();
}

FBValue& FBXMLHandler::topContainerForChild(FBValue& top) {
  // Text met before a child element gives way to the children, as children give way to
  // text that follows them.
  if (!top.isContainer()) {
    top = FBValue::emptyDictionary();
    top.dictionary()->reserve(4);
  }
  return top;
}

void FBXMLHandler::didEndElement(xml::XmlParser&, std::string_view) {
  flushCharacters();
  if (stack_.empty()) return;
  finishMembers(stack_.back());
  if (stack_.size() == 1) {
    rootObject_ = std::move(stack_.back());
    rootName_ = std::move(nameStack_.back());
  } else {
    FBValue& parent = topContainerForChild(stack_[stack_.size() - 2]);
    if (FBValue::Array* a = parent.array()) {
      a->push_back(std::move(stack_.back()));
    } else {
      parent.dictionary()->emplace_back(std::move(nameStack_.back()), std::move(stack_.back()));
    }
  }
  stack_.pop_back();
  nameStack_.pop_back();
}

void FBXMLHandler::finishMembers(FBValue& value) {
  FBValue::Dictionary* members = value.dictionary();
  if (!members || members->size() < 2) return;
  // Orders positions rather than members (cheaper to move), stable so that of two siblings of
  // the same name the later one comes last and is kept.
  auto byName = [members](std::uint32_t a, std::uint32_t b) {
    return (*members)[a].first < (*members)[b].first;
  };
  constexpr std::size_t kFew = 32;
  std::uint32_t few[kFew];
  std::vector<std::uint32_t> many;
  if (members->size() > kFew) many.resize(members->size());
  std::span<std::uint32_t> order = many.empty() ? std::span(few, members->size()) : many;
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  if (many.empty()) {
    for (std::size_t i = 1; i < order.size(); ++i)
      for (std::size_t j = i; j > 0 && byName(order[j], order[j - 1]); --j)
        std::swap(order[j], order[j - 1]);
  } else {
    std::stable_sort(order.begin(), order.end(), byName);
  }
  // Moves each member to its place, one cycle of the permutation at a time.
  FBValue::Dictionary& m = *members;
  for (std::uint32_t start = 0; start < order.size(); ++start) {
    if (order[start] == start) continue;
    auto held = std::move(m[start]);
    std::uint32_t at = start;
    while (order[at] != start) {
      std::uint32_t from = order[at];
      m[at] = std::move(m[from]);
      order[at] = at;
      at = from;
    }
    m[at] = std::move(held);
    order[at] = at;
  }
  std::size_t kept = 0;
  for (std::size_t i = 0; i < m.size(); ++i) {
    if (i + 1 < m.size() && m[i].first == m[i + 1].first) continue;
    if (kept != i) m[kept] = std::move(m[i]);
    ++kept;
  }
  m.erase(m.begin() + static_cast<std::ptrdiff_t>(kept), m.end());
}

void FBXMLHandler::parseErrorOccurred(xml::XmlParser&, const xml::XmlParseError& error) {
  parseError_ = error;
}
