#include "platform/net/Initialize.h"

#include <curl/curl.h>

#include <mutex>

namespace net {

void initialize() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace net
