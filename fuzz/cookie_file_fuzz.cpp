// Any bytes as the cookie file. The lasting cookies read from it are saved in a second file and
// read back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "fuzz/ScratchFolder.h"
#include "platform/net/CookieStore.h"

namespace {

using Cookie = net::CookieStore::Cookie;

const std::filesystem::path& folder() {
  static const ScratchFolder scratch("cookie-fuzz");
  return scratch.path();
}

std::vector<Cookie> sorted(std::vector<Cookie> cookies) {
  std::sort(cookies.begin(), cookies.end(), [](const Cookie& a, const Cookie& b) {
    return std::tie(a.domain, a.path, a.name) < std::tie(b.domain, b.path, b.name);
  });
  return cookies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto input = folder() / "read.txt", output = folder() / "saved.txt";
  std::filesystem::remove(output);
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), size);

  net::CookieStore store(input);
  std::vector<Cookie> lasting;
  for (Cookie& cookie : store.cookies())
    if (cookie.expires != 0) lasting.push_back(std::move(cookie));
  (void)store.cookiesForUrl(*net::Url::parse("https://example.com/a/b"));

  {
    net::CookieStore copy(output);
    for (const Cookie& cookie : lasting) copy.setCookie(cookie);
  }
  if (sorted(net::CookieStore(output).cookies()) != sorted(lasting)) __builtin_trap();
  return 0;
}
