#pragma once
#include <filesystem>

// The XDG base directories and the program's own folders inside them.
namespace base::paths {

std::filesystem::path home();
std::filesystem::path configHome();  // $XDG_CONFIG_HOME or ~/.config
std::filesystem::path dataHome();    // $XDG_DATA_HOME or ~/.local/share
std::filesystem::path cacheHome();   // $XDG_CACHE_HOME or ~/.cache
std::filesystem::path picturesDir(); // $XDG_PICTURES_DIR or ~/Pictures

// The same with "vemo" appended; not created here.
std::filesystem::path appConfigDir();
std::filesystem::path appDataDir();
std::filesystem::path appCacheDir();

}  // namespace base::paths
