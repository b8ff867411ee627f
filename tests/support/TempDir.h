#pragma once
#include <filesystem>
#include <string>

namespace testing_support {

// A fresh folder under the system temporary folder, removed with everything in it at the end.
// While alive it is also XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME (subfolders
// config/, data/, cache/), so settings and queues the code writes land here.
class TempDir {
 public:
  TempDir();
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& p);
void writeFile(const std::filesystem::path& p, const std::string& data);

}  // namespace testing_support
