#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

namespace xml {

// The attributes of one start tag, as name/value pairs in document order. A view onto the
// parser's own storage: valid only during the delegate call that receives it.
class XmlAttributes {
 public:
  // `pairs` is the parser's null-terminated array name0, value0, name1, value1, …
  explicit XmlAttributes(const char** pairs);

  std::size_t size() const { return count_; }
  std::string_view name(std::size_t i) const { return pairs_[2 * i]; }
  std::string_view value(std::size_t i) const { return pairs_[2 * i + 1]; }
  // The value of the first attribute with exactly this name, if present.
  std::optional<std::string_view> find(std::string_view name) const;

 private:
  const char** pairs_;
  std::size_t count_ = 0;
};

}  // namespace xml
