#include "platform/xml/XmlAttributes.h"

namespace xml {

XmlAttributes::XmlAttributes(const char** pairs) : pairs_(pairs) {
  while (pairs_[2 * count_]) ++count_;
}

std::optional<std::string_view> XmlAttributes::find(std::string_view wanted) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (wanted == pairs_[2 * i]) return std::string_view(pairs_[2 * i + 1]);
  }
  return std::nullopt;
}

}  // namespace xml
