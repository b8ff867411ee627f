#include "platform/store/PlistView.h"

#include <cmath>
#include <cstdlib>

namespace store {

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01 UTC).
constexpr int64_t kPlistEpoch = 978307200;

}  // namespace

PlistType PlistView::type() const {
  if (!node_) return PlistType::None;
  switch (plist_get_node_type(node_)) {
    case PLIST_BOOLEAN:
      return PlistType::Boolean;
    case PLIST_UINT:
      return PlistType::Integer;
    case PLIST_REAL:
      return PlistType::Real;
    case PLIST_STRING:
      return PlistType::String;
    case PLIST_ARRAY:
      return PlistType::Array;
    case PLIST_DICT:
      return PlistType::Dictionary;
    case PLIST_DATE:
      return PlistType::Date;
    case PLIST_DATA:
      return PlistType::Data;
    case PLIST_UID:
      return PlistType::Uid;
    default:
      return PlistType::None;
  }
}

std::optional<std::string> PlistView::asString() const {
  if (type() != PlistType::String) return std::nullopt;
  uint64_t length = 0;
  const char* s = plist_get_string_ptr(node_, &length);
  return s ? std::string(s) : std::string();
}

std::optional<int64_t> PlistView::asInteger() const {
  if (type() != PlistType::Integer) return std::nullopt;
  uint64_t v = 0;
  plist_get_uint_val(node_, &v);
  return static_cast<int64_t>(v);
}

std::optional<bool> PlistView::asBool() const {
  if (type() != PlistType::Boolean) return std::nullopt;
  uint8_t v = 0;
  plist_get_bool_val(node_, &v);
  return v != 0;
}

std::optional<double> PlistView::asReal() const {
  if (type() != PlistType::Real) return std::nullopt;
  double v = 0;
  plist_get_real_val(node_, &v);
  return v;
}

std::optional<std::vector<uint8_t>> PlistView::asData() const {
  if (type() != PlistType::Data) return std::nullopt;
  uint64_t length = 0;
  const char* p = plist_get_data_ptr(node_, &length);
  if (!p || length == 0) return std::vector<uint8_t>();
  return std::vector<uint8_t>(p, p + length);
}

std::optional<Date> PlistView::asDate() const {
  if (type() != PlistType::Date) return std::nullopt;
  int32_t sec = 0, usec = 0;
  plist_get_date_val(node_, &sec, &usec);
  return Date(std::chrono::seconds(kPlistEpoch + sec)) + std::chrono::microseconds(usec);
}

std::optional<uint64_t> PlistView::asUid() const {
  if (type() != PlistType::Uid) return std::nullopt;
  uint64_t v = 0;
  plist_get_uid_val(node_, &v);
  return v;
}

size_t PlistView::size() const {
  switch (type()) {
    case PlistType::Array:
      return plist_array_get_size(node_);
    case PlistType::Dictionary:
      return plist_dict_get_size(node_);
    default:
      return 0;
  }
}

PlistView PlistView::at(size_t index) const {
  if (type() != PlistType::Array || index >= plist_array_get_size(node_)) return PlistView();
  return PlistView(plist_array_get_item(node_, static_cast<uint32_t>(index)));
}

PlistView PlistView::get(const std::string& key) const {
  if (type() != PlistType::Dictionary) return PlistView();
  return PlistView(plist_dict_get_item(node_, key.c_str()));
}

std::vector<std::pair<std::string, PlistView>> PlistView::entries() const {
  std::vector<std::pair<std::string, PlistView>> out;
  if (type() != PlistType::Dictionary) return out;
  plist_dict_iter it = nullptr;
  plist_dict_new_iter(node_, &it);
  if (!it) return out;
  for (;;) {
    char* key = nullptr;
    plist_t value = nullptr;
    plist_dict_next_item(node_, it, &key, &value);
    if (!value) {
      free(key);
      break;
    }
    out.emplace_back(key ? key : "", PlistView(value));
    free(key);
  }
  free(it);
  return out;
}

bool PlistView::equals(PlistView other) const {
  const PlistView& a = *this;
  const PlistView& b = other;
  if (a.type() != b.type()) return false;
  switch (a.type()) {
    case PlistType::None:
      return true;
    case PlistType::Boolean:
      return a.asBool() == b.asBool();
    case PlistType::Integer:
      return a.asInteger() == b.asInteger();
    case PlistType::Real: {
      double x = *a.asReal(), y = *b.asReal();
      return x == y || (std::isnan(x) && std::isnan(y));
    }
    case PlistType::String:
      return a.asString() == b.asString();
    case PlistType::Date:
      return a.asDate() == b.asDate();
    case PlistType::Data:
      return a.asData() == b.asData();
    case PlistType::Uid:
      return a.asUid() == b.asUid();
    case PlistType::Array:
      if (a.size() != b.size()) return false;
      for (size_t i = 0; i < a.size(); ++i)
        if (!a.at(i).equals(b.at(i))) return false;
      return true;
    case PlistType::Dictionary: {
      if (a.size() != b.size()) return false;
      for (const auto& [key, value] : a.entries())
        if (!value.equals(b.get(key))) return false;
      return true;
    }
  }
  return false;
}

}  // namespace store
