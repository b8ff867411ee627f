#include "platform/base/DataDir.h"

#include <cstdlib>

namespace base {

std::filesystem::path dataFile(const std::string& relative) {
  std::error_code ec;
  if (const char* env = std::getenv("VEMO_DATA_DIR"); env && *env) {
    auto p = std::filesystem::path(env) / relative;
    if (std::filesystem::exists(p, ec)) return p;
  }
  for (const char* root : {VEMO_SOURCE_DATA_DIR, VEMO_INSTALL_DATA_DIR}) {
    auto p = std::filesystem::path(root) / relative;
    if (std::filesystem::exists(p, ec)) return p;
  }
  return {};
}

}  // namespace base
