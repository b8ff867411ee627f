#pragma once
#include <stdlib.h>

#include <filesystem>
#include <string>

// A private folder for the files a fuzz target writes, removed when the run ends. Saves are
// flushed to disk, so it lives in a memory file system when there is one.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    std::error_code error;
    std::filesystem::path root = std::filesystem::is_directory("/dev/shm", error)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string pattern = (root / (name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};
