#include "facebook/FBValue.h"

#include <algorithm>

namespace {

const FBValue& nullValue() {
  static const FBValue value;
  return value;
}

}  // namespace

FBValue FBValue::emptyArray() {
  FBValue value;
  value.storage_ = Array();
  return value;
}

FBValue FBValue::emptyDictionary() {
  FBValue value;
  value.storage_ = Dictionary();
  return value;
}

FBValue::FBValue(FBValue&& other) noexcept : storage_(std::move(other.storage_)) {}

FBValue& FBValue::operator=(FBValue&& other) noexcept {
  if (this != &other) {
    // `other` may lie inside this value: take it out before this value is released.
    Storage incoming = std::move(other.storage_);
    if (isContainer()) release();
    storage_ = std::move(incoming);
  }
  return *this;
}

FBValue::~FBValue() {
  release();
}

void FBValue::release() noexcept {
  // A container of plain values is destroyed the ordinary way: that does not nest.
  bool nested = false;
  if (const Array* a = array()) {
    nested = std::any_of(a->begin(), a->end(), [](const FBValue& v) { return v.isContainer(); });
  } else if (const Dictionary* d = dictionary()) {
    nested = std::any_of(d->begin(), d->end(),
                         [](const auto& member) { return member.second.isContainer(); });
  }
  if (!nested) return;
  // Each container is emptied of its nested containers before it is destroyed, so no
  // destructor ever runs on a container that still holds one.
  std::vector<Storage> pending;
  pending.push_back(std::move(storage_));
  storage_ = std::monostate{};
  auto detach = [&pending](FBValue& child) {
    if (child.isContainer()) {
      pending.push_back(std::move(child.storage_));
      child.storage_ = std::monostate{};
    }
  };
  while (!pending.empty()) {
    Storage current = std::move(pending.back());
    pending.pop_back();
    if (auto* a = std::get_if<Array>(&current)) {
      for (FBValue& child : *a) detach(child);
    } else if (auto* d = std::get_if<Dictionary>(&current)) {
      for (auto& [name, child] : *d) detach(child);
    }
  }
}

void FBValue::setText(std::string_view text) {
  if (isContainer()) release();
  storage_.emplace<std::string>(text);
}

std::string_view FBValue::text() const {
  const std::string* s = string();
  return s ? std::string_view(*s) : std::string_view();
}

template <typename Members>
auto findMember(Members& members, std::string_view key) {
  auto it = std::lower_bound(members.begin(), members.end(), key,
                             [](const auto& entry, std::string_view k) { return entry.first < k; });
  return it != members.end() && it->first == key ? it : members.end();
}

const FBValue& FBValue::member(std::string_view key) const {
  const Dictionary* d = dictionary();
  if (!d) return nullValue();
  auto it = findMember(*d, key);
  return it == d->end() ? nullValue() : it->second;
}

FBValue FBValue::takeMember(std::string_view key) {
  Dictionary* d = dictionary();
  if (!d) return FBValue();
  auto it = findMember(*d, key);
  if (it == d->end()) return FBValue();
  FBValue taken = std::move(it->second);
  it->second = FBValue();
  return taken;
}

const FBValue& FBValue::at(std::size_t index) const {
  const Array* a = array();
  return a && index < a->size() ? (*a)[index] : nullValue();
}
