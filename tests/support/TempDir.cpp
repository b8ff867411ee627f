#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vemo-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
  for (const char* sub : {"config", "data", "cache"})
    std::filesystem::create_directories(path_ / sub);
  setenv("XDG_CONFIG_HOME", (path_ / "config").c_str(), 1);
  setenv("XDG_DATA_HOME", (path_ / "data").c_str(), 1);
  setenv("XDG_CACHE_HOME", (path_ / "cache").c_str(), 1);
}

std::string readFile(const std::filesystem::path& p) {
  std::ostringstream s;
  s << std::ifstream(p, std::ios::binary).rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& p, const std::string& data) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary | std::ios::trunc) << data;
}

}  // namespace testing_support
