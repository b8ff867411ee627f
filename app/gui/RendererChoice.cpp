#include "app/gui/RendererChoice.h"

#include <cstdlib>
#include <string_view>

const char* RendererChoice::rendererFor(const char* chosen, const std::filesystem::path& devices) {
  if (chosen && *chosen) return nullptr;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(devices, ec)) {
    if (entry.path().filename().string().starts_with("renderD")) return nullptr;
  }
  return "cairo";
}

std::string RendererChoice::withoutGl(const char* flags) {
  std::string out = flags ? flags : "";
  // GDK reads a list of names separated by commas, colons, semicolons or blanks.
  std::string_view rest = out;
  while (!rest.empty()) {
    size_t end = rest.find_first_of(",:; \t");
    if (rest.substr(0, end) == "gl-disable") return out;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return out.empty() ? "gl-disable" : out + ",gl-disable";
}

void RendererChoice::apply(const std::filesystem::path& devices) {
  const char* renderer = rendererFor(std::getenv("GSK_RENDERER"), devices);
  if (!renderer) return;
  // Unset or empty here: an empty name would make GTK warn and pick its own.
  setenv("GSK_RENDERER", renderer, 1);
  setenv("GDK_DEBUG", withoutGl(std::getenv("GDK_DEBUG")).c_str(), 1);
  // WebKit would warn at its first page that GTK has no GL; it composites in software anyway.
  setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
}
