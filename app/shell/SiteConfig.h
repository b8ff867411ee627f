#pragma once
#include <filesystem>
#include <string>

// The configuration file "vemo.conf" in the program's configuration folder: lines "key = value",
// blank lines and lines starting with "#" ignored. Only "site" is read: the news site's base
// address, used when the command line gives none.
class SiteConfig {
 public:
  static std::filesystem::path defaultPath();
  // The "site" value of the file at `path` without trailing "/", or "" when the file, the key or
  // a usable address (with a scheme) is missing.
  static std::string readSite(const std::filesystem::path& path = defaultPath());
};
