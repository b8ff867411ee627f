#pragma once
#include <filesystem>
#include <string>

namespace base {

// Finds the program's read-only data (images, strings, the demo site): $VEMO_DATA_DIR if set,
// then the source tree the program was built from, then the installed data folder.
// Returns the first existing `relative` path, or an empty path.
std::filesystem::path dataFile(const std::string& relative);

}  // namespace base
