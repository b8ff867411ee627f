#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace base {

// Replaces `file` with `bytes` so that a crash at any moment leaves either the old or the new
// content whole: the bytes go to a temporary file in the same folder (mode 0600), which is
// flushed to disk, renamed over `file`, and the folder is flushed too. Creates the folder if
// needed. Returns false with the reason in *error on failure, leaving `file` untouched.
bool writeFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                         std::string* error = nullptr);

// A name beside `file` that no file has yet, for keeping a corrupt file aside:
// "<name>.corrupt-<unix time>", then "-1", "-2"...
std::filesystem::path corruptAsideName(const std::filesystem::path& file);

// Tests only: called with the temporary file's path after it is flushed and before the rename.
void setAtomicWriteHookForTesting(std::function<void(const std::filesystem::path&)> hook);

}  // namespace base
