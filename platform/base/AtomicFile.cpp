#include "platform/base/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <mutex>

namespace base {

namespace {

std::mutex hookMutex;
std::function<void(const std::filesystem::path&)> writeHook;

bool failWith(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

bool writeAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void setAtomicWriteHookForTesting(std::function<void(const std::filesystem::path&)> hook) {
  std::lock_guard lock(hookMutex);
  writeHook = std::move(hook);
}

bool writeFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                         std::string* error) {
  std::filesystem::path folder = file.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    if (error) *error = "cannot create " + folder.string() + ": " + ec.message();
    return false;
  }

  std::string temp = (folder / (file.filename().string() + ".tmp-XXXXXX")).string();
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return failWith(error, "cannot create a temporary file in " + folder.string());
  if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
    failWith(error, "cannot write " + temp);
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  }
  if (::close(fd) != 0) {
    failWith(error, "cannot write " + temp);
    ::unlink(temp.c_str());
    return false;
  }

  {
    std::lock_guard lock(hookMutex);
    if (writeHook) writeHook(temp);
  }

  if (::rename(temp.c_str(), file.c_str()) != 0) {
    failWith(error, "cannot replace " + file.string());
    ::unlink(temp.c_str());
    return false;
  }
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

std::filesystem::path corruptAsideName(const std::filesystem::path& file) {
  std::string base = file.string() + ".corrupt-" + std::to_string(std::time(nullptr));
  std::filesystem::path candidate = base;
  std::error_code ec;
  for (int n = 1; std::filesystem::exists(candidate, ec) || ec; ++n) {
    candidate = base + "-" + std::to_string(n);
    ec.clear();
  }
  return candidate;
}

}  // namespace base
