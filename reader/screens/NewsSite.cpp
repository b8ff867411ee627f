#include "reader/screens/NewsSite.h"

#include <mutex>

namespace {
std::mutex& siteMutex() {
  static std::mutex m;
  return m;
}
std::string& siteBase() {
  static std::string base = "http://127.0.0.1";
  return base;
}
std::string& formerBase() {
  static std::string base;
  return base;
}
std::string withoutTrailingSlashes(std::string address) {
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}
}  // namespace

std::string NewsSite::baseAddress() {
  std::lock_guard lock(siteMutex());
  return siteBase();
}

void NewsSite::setBaseAddress(std::string address) {
  address = withoutTrailingSlashes(std::move(address));
  std::lock_guard lock(siteMutex());
  siteBase() = std::move(address);
}

void NewsSite::setFormerAddress(std::string address) {
  address = withoutTrailingSlashes(std::move(address));
  std::lock_guard lock(siteMutex());
  formerBase() = std::move(address);
}

std::string NewsSite::resolve(std::string_view link) {
  std::lock_guard lock(siteMutex());
  const std::string& former = formerBase();
  // The whole authority must match: "…:6108" is no prefix of "…:61080/a".
  if (former.empty() || !link.starts_with(former)) return std::string(link);
  const std::string_view rest = link.substr(former.size());
  if (!rest.empty() && rest.front() != '/' && rest.front() != '?' && rest.front() != '#')
    return std::string(link);
  return siteBase() + std::string(rest);
}

std::string NewsSite::address(std::string_view path) {
  return baseAddress() + std::string(path);
}
