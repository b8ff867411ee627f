#include "app/gui/WebKitModule.h"

#include <cstdio>
#include <cstdlib>

#include "app/ProgramModule.h"

namespace {

constexpr const char* kModuleName = "libvemo-webkit.so";

WebKitModule*& opened() {
  static WebKitModule* module = nullptr;
  return module;
}

}  // namespace

std::string WebKitModule::file() {
  return ProgramModule::file(kModuleName);
}

WebKitModule& WebKitModule::load() {
  if (opened()) return *opened();
  std::string error;
  void* entry = ProgramModule::open(kModuleName, "vemo_webkit_module", error);
  if (!entry) {
    std::fprintf(stderr, "vemo: cannot load the web engine: %s\n", error.c_str());
    std::abort();
  }
  opened() = reinterpret_cast<WebKitModule* (*)()>(entry)();
  return *opened();
}

WebKitModule* WebKitModule::loaded() {
  return opened();
}
