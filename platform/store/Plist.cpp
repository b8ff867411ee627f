#include "platform/store/Plist.h"

#include "platform/base/Strings.h"

#include <cstdlib>
#include <limits>

namespace store {

namespace {

constexpr int64_t kPlistEpoch = 978307200;

void setError(std::string* error, std::string_view text) {
  if (error) *error = text;
}

}  // namespace

Plist Plist::dictionary() {
  return Plist(plist_new_dict());
}
Plist Plist::array() {
  return Plist(plist_new_array());
}
Plist Plist::string(std::string_view value) {
  return Plist(plist_new_string(std::string(value).c_str()));
}
Plist Plist::integer(int64_t value) {
  return Plist(plist_new_uint(static_cast<uint64_t>(value)));
}
Plist Plist::real(double value) {
  return Plist(plist_new_real(value));
}
Plist Plist::boolean(bool value) {
  return Plist(plist_new_bool(value ? 1 : 0));
}
Plist Plist::uid(uint64_t value) {
  return Plist(plist_new_uid(value));
}

Plist Plist::data(std::span<const uint8_t> bytes) {
  static const char empty = 0;
  const char* p = bytes.empty() ? &empty : reinterpret_cast<const char*>(bytes.data());
  return Plist(plist_new_data(p, bytes.size()));
}

Plist Plist::date(Date value) {
  using namespace std::chrono;
  int64_t us = duration_cast<microseconds>(value.time_since_epoch()).count();
  int64_t sec = us / 1000000 - kPlistEpoch;
  int64_t usec = us % 1000000;
  if (usec < 0) {
    usec += 1000000;
    sec -= 1;
  }
  constexpr int64_t lo = std::numeric_limits<int32_t>::min(),
                    hi = std::numeric_limits<int32_t>::max();
  if (sec < lo) sec = lo, usec = 0;
  if (sec > hi) sec = hi, usec = 0;
  return Plist(plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>(usec)));
}

Plist Plist::stringArray(const std::vector<std::string>& values) {
  Plist out = array();
  for (const auto& v : values) out.append(string(v));
  return out;
}

std::optional<Plist> Plist::copyOf(PlistView view) {
  if (!view) return std::nullopt;
  return Plist(plist_copy(view.node()));
}

Plist::Plist(const Plist& other) : node_(other.node_ ? plist_copy(other.node_) : nullptr) {}
Plist::Plist(Plist&& other) noexcept : node_(other.node_) {
  other.node_ = nullptr;
}

Plist& Plist::operator=(const Plist& other) {
  if (this != &other) *this = Plist(other);
  return *this;
}

Plist& Plist::operator=(Plist&& other) noexcept {
  if (this != &other) {
    if (node_) plist_free(node_);
    node_ = other.node_;
    other.node_ = nullptr;
  }
  return *this;
}

Plist::~Plist() {
  if (node_) plist_free(node_);
}

plist_t Plist::release() {
  plist_t n = node_;
  node_ = nullptr;
  return n;
}

bool Plist::set(const std::string& key, Plist value) {
  if (type() != PlistType::Dictionary || !value.node_) return false;
  plist_dict_set_item(node_, key.c_str(), value.release());
  return true;
}

bool Plist::remove(const std::string& key) {
  if (type() != PlistType::Dictionary) return false;
  if (plist_dict_get_item(node_, key.c_str())) plist_dict_remove_item(node_, key.c_str());
  return true;
}

bool Plist::append(Plist value) {
  if (type() != PlistType::Array || !value.node_) return false;
  plist_array_append_item(node_, value.release());
  return true;
}

std::optional<Plist> Plist::withReadableText(Plist parsed, const char* format, std::string* error) {
  // libplist aborts when asked for a dictionary key that holds a NUL character (the binary
  // format allows one in UTF-16 text). It keeps text that is not UTF-8 as it finds it, but
  // cuts it at the first such byte when writing, so it would not survive a save. Lists with
  // either are refused here; their XML form shows every text.
  std::string xml = parsed.toXml();
  if (xml.find('\0') != std::string::npos) {
    setError(error, std::string(format) + " property list holds text with a NUL character");
    return std::nullopt;
  }
  if (!base::isValidUtf8(xml)) {
    setError(error, std::string(format) + " property list holds text that is not UTF-8");
    return std::nullopt;
  }
  return parsed;
}

std::optional<Plist> Plist::fromBinary(std::span<const uint8_t> bytes, std::string* error) {
  if (bytes.size() > std::numeric_limits<uint32_t>::max()) {
    setError(error, "property list too large");
    return std::nullopt;
  }
  if (bytes.size() < 8 || !plist_is_binary(reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<uint32_t>(bytes.size()))) {
    setError(error, "not a binary property list");
    return std::nullopt;
  }
  plist_t node = nullptr;
  plist_from_bin(reinterpret_cast<const char*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                 &node);
  if (!node) {
    setError(error, "binary property list does not parse");
    return std::nullopt;
  }
  return withReadableText(Plist(node), "binary", error);
}

std::optional<Plist> Plist::fromXml(std::string_view text, std::string* error) {
  if (text.size() > std::numeric_limits<uint32_t>::max()) {
    setError(error, "property list too large");
    return std::nullopt;
  }
  plist_t node = nullptr;
  if (!text.empty()) plist_from_xml(text.data(), static_cast<uint32_t>(text.size()), &node);
  if (!node) {
    setError(error, "XML property list does not parse");
    return std::nullopt;
  }
  return withReadableText(Plist(node), "XML", error);
}

std::optional<Plist> Plist::fromBytes(std::span<const uint8_t> bytes, std::string* error) {
  if (bytes.size() >= 8 && bytes.size() <= std::numeric_limits<uint32_t>::max() &&
      plist_is_binary(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<uint32_t>(bytes.size())))
    return fromBinary(bytes, error);
  return fromXml(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                 error);
}

std::vector<uint8_t> Plist::toBinary() const {
  char* out = nullptr;  // libplist writes nothing unless this starts out null
  uint32_t length = 0;
  if (node_) plist_to_bin(node_, &out, &length);
  std::vector<uint8_t> bytes;
  if (out) bytes.assign(out, out + length);
  free(out);
  return bytes;
}

std::string Plist::toXml() const {
  char* out = nullptr;
  uint32_t length = 0;
  if (node_) plist_to_xml(node_, &out, &length);
  std::string text;
  if (out) text.assign(out, length);
  free(out);
  return text;
}

bool operator==(const Plist& a, const Plist& b) {
  return a.view().equals(b.view());
}

}  // namespace store
