#include "app/shell/SiteConfig.h"

#include <fstream>

#include "platform/base/Paths.h"

namespace {
std::string trim(const std::string& text) {
  const char* blanks = " \t\r";
  size_t from = text.find_first_not_of(blanks);
  if (from == std::string::npos) return {};
  return text.substr(from, text.find_last_not_of(blanks) - from + 1);
}
}  // namespace

std::filesystem::path SiteConfig::defaultPath() {
  return base::paths::appConfigDir() / "vemo.conf";
}

std::string SiteConfig::readSite(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line, site;
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos || trim(line.substr(0, eq)) != "site") continue;
    site = trim(line.substr(eq + 1));  // the last "site" line wins
  }
  while (site.ends_with('/')) site.pop_back();
  if (site.find("://") == std::string::npos) return {};
  return site;
}
