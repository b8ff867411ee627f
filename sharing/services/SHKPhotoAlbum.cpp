#include "sharing/services/SHKPhotoAlbum.h"

#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base/Localization.h"
#include "platform/base/Paths.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKActivityIndicator.h"

namespace {

std::optional<std::filesystem::path>& folderForTesting() {
  static std::optional<std::filesystem::path> folder;
  return folder;
}

// Writes everything or fails; the half-written file is removed on failure.
bool writeAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return ::fsync(fd) == 0;
}

}  // namespace

void SHKPhotoAlbum::registerService() {
  SHKSharer::registerClass(kClassName, [] { return std::make_shared<SHKPhotoAlbum>(); });
}

std::filesystem::path SHKPhotoAlbum::albumFolder() {
  if (folderForTesting()) return *folderForTesting();
  const char* pictures = g_get_user_special_dir(G_USER_DIRECTORY_PICTURES);
  std::filesystem::path base =
      pictures && *pictures ? std::filesystem::path(pictures) : base::paths::home() / "Pictures";
  return base / kFolderName;
}

void SHKPhotoAlbum::setAlbumFolderForTesting(std::optional<std::filesystem::path> folder) {
  folderForTesting() = std::move(folder);
}

std::optional<std::filesystem::path> SHKPhotoAlbum::writeNewFile(
    const std::filesystem::path& folder, const std::string& stem, const std::string& bytes,
    std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (int n = 1; n < 10000; ++n) {
    std::filesystem::path path =
        folder / (n == 1 ? stem + ".jpg" : stem + " " + std::to_string(n) + ".jpg");
    // O_EXCL: a file that appears meanwhile is never replaced.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      if (error) *error = std::strerror(errno);
      return std::nullopt;
    }
    bool written = writeAll(fd, bytes);
    int saved = errno;
    if (::close(fd) != 0) written = false;
    if (written) return path;
    ::unlink(path.c_str());
    if (error) *error = std::strerror(saved ? saved : EIO);
    return std::nullopt;
  }
  if (error) *error = "too many files with that name";
  return std::nullopt;
}

std::string SHKPhotoAlbum::sharerTitle() const {
  return base::localized("Save to Photo Album");
}

bool SHKPhotoAlbum::send() {
  const auto& image = item()->image();
  std::string jpeg = image ? image->jpegData(1.0) : std::string();
  std::string error = "there is no picture";
  if (!jpeg.empty() && writeNewFile(albumFolder(), "Image", jpeg, &error)) {
    SHKActivityIndicator::currentIndicator()->displayCompleted(base::localized("Saved!"));
    setQuiet(true);
    sendDidFinish();
  } else {
    // Not quiet: the user sees why nothing was saved.
    sendDidFailWithError(SHK::error("The picture could not be saved: %@", error));
  }
  return true;
}
