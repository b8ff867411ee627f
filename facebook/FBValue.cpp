#include "facebook/FBValue.h"

namespace {

const FBValue& nullValue() {
  static const FBValue value;
  return value;
}

}  // namespace

FBValue FBValue::emptyArray() {
  FBValue value;
  value.storage_ = std::make_unique<Array>();
  return value;
}

FBValue FBValue::emptyDictionary() {
  FBValue value;
  value.storage_ = std::make_unique<Dictionary>();
  return value;
}

FBValue::FBValue(FBValue&& other) noexcept : storage_(std::move(other.storage_)) {
  other.storage_ = std::monostate{};
}

FBValue& FBValue::operator=(FBValue&& other) noexcept {
  if (this != &other) {
    Storage incoming = std::move(other.storage_);
    other.storage_ = std::monostate{};
    release();
    storage_ = std::move(incoming);
  }
  return *this;
}

FBValue::~FBValue() {
  release();
}

void FBValue::release() noexcept {
  if (!isContainer()) {
    storage_ = std::monostate{};
    return;
  }
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
    if (auto* a = std::get_if<std::unique_ptr<Array>>(&current)) {
      for (FBValue& child : **a) detach(child);
    } else if (auto* d = std::get_if<std::unique_ptr<Dictionary>>(&current)) {
      for (auto& [name, child] : **d) detach(child);
    }
  }
}

const FBValue::Array* FBValue::array() const {
  auto* a = std::get_if<std::unique_ptr<Array>>(&storage_);
  return a ? a->get() : nullptr;
}

FBValue::Array* FBValue::array() {
  auto* a = std::get_if<std::unique_ptr<Array>>(&storage_);
  return a ? a->get() : nullptr;
}

const FBValue::Dictionary* FBValue::dictionary() const {
  auto* d = std::get_if<std::unique_ptr<Dictionary>>(&storage_);
  return d ? d->get() : nullptr;
}

FBValue::Dictionary* FBValue::dictionary() {
  auto* d = std::get_if<std::unique_ptr<Dictionary>>(&storage_);
  return d ? d->get() : nullptr;
}

std::string_view FBValue::text() const {
  const std::string* s = string();
  return s ? std::string_view(*s) : std::string_view();
}

const FBValue& FBValue::member(std::string_view key) const {
  const Dictionary* d = dictionary();
  if (!d) return nullValue();
  auto it = d->find(key);
  return it == d->end() ? nullValue() : it->second;
}

const FBValue& FBValue::at(std::size_t index) const {
  const Array* a = array();
  return a && index < a->size() ? (*a)[index] : nullValue();
}
