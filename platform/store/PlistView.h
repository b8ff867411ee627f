#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <plist/plist.h>

namespace store {

enum class PlistType { None, Boolean, Integer, Real, String, Array, Dictionary, Date, Data, Uid };

using Date = std::chrono::system_clock::time_point;

// A read-only, non-owning look at one node of a property list. Valid while the list it points
// into is alive and unchanged. A view of nothing (absent member, index out of range) has type
// None and answers every question with "absent".
class PlistView {
 public:
  PlistView() = default;
  explicit PlistView(plist_t node) : node_(node) {}

  explicit operator bool() const { return node_ != nullptr; }
  PlistType type() const;

  std::optional<std::string> asString() const;
  // Integers are signed 64-bit, as the binary format stores them.
  std::optional<int64_t> asInteger() const;
  std::optional<bool> asBool() const;
  std::optional<double> asReal() const;
  std::optional<std::vector<uint8_t>> asData() const;
  std::optional<Date> asDate() const;
  std::optional<uint64_t> asUid() const;

  // Number of members of an array or dictionary; 0 for anything else.
  size_t size() const;
  // Array member, or a view of nothing.
  PlistView at(size_t index) const;
  // Dictionary member, or a view of nothing.
  PlistView get(const std::string& key) const;
  // Dictionary members in stored order; empty for anything else.
  std::vector<std::pair<std::string, PlistView>> entries() const;

  // Deep equality of type and content (dictionary members compared by key).
  bool equals(PlistView other) const;

  plist_t node() const { return node_; }

 private:
  plist_t node_ = nullptr;
};

}  // namespace store
