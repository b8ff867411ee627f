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
}  // namespace

std::string NewsSite::baseAddress() {
  std::lock_guard lock(siteMutex());
  return siteBase();
}

void NewsSite::setBaseAddress(std::string address) {
  while (!address.empty() && address.back() == '/') address.pop_back();
  std::lock_guard lock(siteMutex());
  siteBase() = std::move(address);
}

std::string NewsSite::address(std::string_view path) {
  return baseAddress() + std::string(path);
}
