#include "app/gui/RendererChoice.h"

#include <cstdlib>
#include <string>

const char* RendererChoice::rendererFor(const char* chosen, const std::filesystem::path& devices) {
  if (chosen && *chosen) return nullptr;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(devices, ec)) {
    if (entry.path().filename().string().starts_with("renderD")) return nullptr;
  }
  return "cairo";
}

void RendererChoice::apply() {
  if (const char* renderer = rendererFor(std::getenv("GSK_RENDERER"), "/dev/dri")) {
    setenv("GSK_RENDERER", renderer, 0);
  }
}
