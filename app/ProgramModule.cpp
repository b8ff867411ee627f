#include "app/ProgramModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <vector>

std::string ProgramModule::file(const std::string& name) {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  std::vector<std::filesystem::path> candidates;
  if (!error) {
    candidates.push_back(program.parent_path() / name);
    candidates.push_back(program.parent_path() / VEMO_MODULE_DIR_FROM_BIN / name);
  }
  candidates.push_back(std::filesystem::path(VEMO_INSTALL_MODULE_DIR) / name);
  for (const auto& candidate : candidates) {
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
  }
  return {};
}

void* ProgramModule::open(const std::string& name, const char* entry, std::string& error) {
  const std::string path = file(name);
  if (path.empty()) {
    error = name + " is neither next to the program nor in " VEMO_INSTALL_MODULE_DIR;
    return nullptr;
  }
  // Types registered from a module (GTK's, WebKit's) outlive any use of it: it stays open.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : path + " cannot be opened";
    return nullptr;
  }
  void* function = dlsym(handle, entry);
  if (!function) error = path + " has no entry point " + entry;
  return function;
}
