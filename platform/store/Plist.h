#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/store/PlistView.h"

namespace store {

// An owned property-list value (libplist node tree): dictionary, array, string, integer, real,
// boolean, data, date or UID. Copies are deep. Reads go through view().
class Plist {
 public:
  static Plist dictionary();
  static Plist array();
  static Plist string(std::string_view value);
  static Plist integer(int64_t value);
  static Plist real(double value);
  static Plist boolean(bool value);
  static Plist data(std::span<const uint8_t> bytes);
  // Dates are kept to about a microsecond, from 1933 to 2069 (32-bit seconds around 2001).
  static Plist date(Date value);
  static Plist uid(uint64_t value);
  static Plist stringArray(const std::vector<std::string>& values);
  // A deep copy of the node a view shows; a view of nothing gives nullopt.
  static std::optional<Plist> copyOf(PlistView view);

  Plist(const Plist& other);
  Plist(Plist&& other) noexcept;
  Plist& operator=(const Plist& other);
  Plist& operator=(Plist&& other) noexcept;
  ~Plist();

  PlistView view() const { return PlistView(node_); }
  PlistType type() const { return view().type(); }

  // Dictionary: sets or replaces a member (kept in insertion order), removes one.
  // Array: appends. Each returns false (and changes nothing) on a value of another type.
  bool set(const std::string& key, Plist value);
  bool remove(const std::string& key);
  bool append(Plist value);

  // Parses the binary format; nullopt with a reason in *error when it does not parse.
  static std::optional<Plist> fromBinary(std::span<const uint8_t> bytes,
                                         std::string* error = nullptr);
  static std::optional<Plist> fromXml(std::string_view text, std::string* error = nullptr);
  // Binary or XML, told apart by the binary header.
  static std::optional<Plist> fromBytes(std::span<const uint8_t> bytes,
                                        std::string* error = nullptr);
  std::vector<uint8_t> toBinary() const;
  std::string toXml() const;

  // Deep equality of type and content (dictionary members compared by key).
  friend bool operator==(const Plist& a, const Plist& b);

 private:
  explicit Plist(plist_t node) : node_(node) {}
  // `parsed` when every text in it can be read and written back; else nullopt and the reason.
  static std::optional<Plist> withReadableText(Plist parsed, const char* format,
                                               std::string* error);
  // Hands the node over to a container that takes ownership.
  plist_t release();

  plist_t node_;
};

}  // namespace store
