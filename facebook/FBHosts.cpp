#include "facebook/FBHosts.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include "platform/base/Strings.h"
#include "platform/net/Url.h"

namespace {

constexpr const char* kRestPath = "/restserver.php";

bool isLoopback(const std::string& host) {
  if (base::toLowerAscii(host) == "localhost") return true;
  in_addr v4{};
  if (inet_pton(AF_INET, host.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

std::string withScheme(const std::string& address, const std::string& scheme) {
  auto colon = address.find("://");
  return colon == std::string::npos ? scheme + "://" + address : scheme + address.substr(colon);
}

std::string withoutTrailingSlash(std::string address) {
  while (address.ends_with('/')) address.pop_back();
  return address;
}

}  // namespace

std::string FBHosts::restEndpoint(const std::string& address) {
  std::string base = withoutTrailingSlash(address);
  auto url = net::Url::parse(base);
  bool plainHttpAllowed =
      url && base::toLowerAscii(url->scheme()) == "http" && isLoopback(url->host());
  return (plainHttpAllowed ? base : withScheme(base, "https")) + kRestPath;
}

std::string FBHosts::secureRestEndpoint(const std::string& address) {
  return withScheme(withoutTrailingSlash(address), "https") + kRestPath;
}

std::string FBHosts::hostOf(const std::string& address) {
  auto url = net::Url::parse(address);
  return url ? url->host() : std::string();
}
