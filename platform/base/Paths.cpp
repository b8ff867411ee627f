#include "platform/base/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace base::paths {
namespace {

// An XDG variable counts only when it holds an absolute path, as the XDG rules say.
std::filesystem::path fromEnv(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  if (v && v[0] == '/') return v;
  return home() / fallback;
}

}  // namespace

std::filesystem::path home() {
  const char* h = std::getenv("HOME");
  if (h && *h) return h;
  if (passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

std::filesystem::path configHome() { return fromEnv("XDG_CONFIG_HOME", ".config"); }
std::filesystem::path dataHome() { return fromEnv("XDG_DATA_HOME", ".local/share"); }
std::filesystem::path cacheHome() { return fromEnv("XDG_CACHE_HOME", ".cache"); }
std::filesystem::path picturesDir() { return fromEnv("XDG_PICTURES_DIR", "Pictures"); }

std::filesystem::path appConfigDir() { return configHome() / "vemo"; }
std::filesystem::path appDataDir() { return dataHome() / "vemo"; }
std::filesystem::path appCacheDir() { return cacheHome() / "vemo"; }

}  // namespace base::paths
