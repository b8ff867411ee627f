#include "app/sandbox/BasicAuth.h"

#include <glib.h>

std::optional<std::pair<std::string, std::string>> basicAuth(const SandboxRequest& request) {
  for (const auto& [name, value] : request.headers) {
    if (g_ascii_strcasecmp(name.c_str(), "Authorization") != 0) continue;
    if (value.rfind("Basic ", 0) != 0) return std::nullopt;
    gsize length = 0;
    guchar* decoded = g_base64_decode(value.c_str() + 6, &length);
    std::string pair(reinterpret_cast<const char*>(decoded), length);
    g_free(decoded);
    size_t colon = pair.find(':');
    if (colon == std::string::npos) return std::nullopt;
    return std::make_pair(pair.substr(0, colon), pair.substr(colon + 1));
  }
  return std::nullopt;
}
