#include "app/gui/WebKitModule.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kModuleName = "libvemo-webkit.so";

WebKitModule*& opened() {
  static WebKitModule* module = nullptr;
  return module;
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "vemo: cannot load the web engine: %s\n", what.c_str());
  std::abort();
}

}  // namespace

std::string WebKitModule::file() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  std::vector<std::filesystem::path> candidates;
  if (!error) {
    candidates.push_back(program.parent_path() / kModuleName);
    candidates.push_back(program.parent_path() / VEMO_MODULE_DIR_FROM_BIN / kModuleName);
  }
  candidates.push_back(std::filesystem::path(VEMO_INSTALL_MODULE_DIR) / kModuleName);
  for (const auto& candidate : candidates) {
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
  }
  return {};
}

WebKitModule& WebKitModule::load() {
  if (opened()) return *opened();
  const std::string path = file();
  if (path.empty())
    fail(std::string(kModuleName) + " is neither next to the program nor in " +
         VEMO_INSTALL_MODULE_DIR);
  // Bound at once, so that a module not matching the program fails here and not at a later call.
  // It stays open for the life of the process: GTK and WebKit keep types registered from it.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) fail(dlerror());
  auto entry = reinterpret_cast<WebKitModule* (*)()>(dlsym(handle, "vemo_webkit_module"));
  if (!entry) fail(path + " has no entry point");
  opened() = entry();
  return *opened();
}

WebKitModule* WebKitModule::loaded() {
  return opened();
}
