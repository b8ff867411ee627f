#pragma once
#include <filesystem>
#include <optional>

#include "sharing/core/SHKSharer.h"

// Saves a picture as a JPEG into the "Vemo" folder of the user's Pictures folder, under a name no
// file has yet, and says "Saved!" once the file is written; a failed write is a failure.
class SHKPhotoAlbum : public SHKSharer {
 public:
  static constexpr const char* kClassName = "SHKPhotoAlbum";
  static constexpr const char* kFolderName = "Vemo";
  static void registerService();

  // The Pictures folder as the desktop names it (user-dirs.dirs, read by GLib), else
  // ~/Pictures, with "Vemo" inside. A folder set for tests wins.
  static std::filesystem::path albumFolder();
  static void setAlbumFolderForTesting(std::optional<std::filesystem::path> folder);

  // Writes `bytes` to a new file "<stem>.jpg", "<stem> 2.jpg"... in `folder` (made when
  // missing), never replacing a file. The path written, or nothing with *error set.
  static std::optional<std::filesystem::path> writeNewFile(const std::filesystem::path& folder,
                                                           const std::string& stem,
                                                           const std::string& bytes,
                                                           std::string* error);

  std::string sharerTitle() const override;
  bool canShareImage() const override { return true; }
  bool shareRequiresInternetConnection() const override { return false; }
  bool requiresAuthentication() const override { return false; }
  // Works on the spot: no share form, straight to send.
  std::optional<std::vector<SHKFormFieldSettings>> shareFormFieldsForType(int32_t) override {
    return std::nullopt;
  }
  bool send() override;
};
