// Reads arbitrary bytes as a Google Reader login answer: every kept session line must be safe
// as a cookie, and the signed header fields must hold no line break.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sharing/services/SHKGoogleReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto session =
      SHKGoogleReader::parseSession(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const auto& [key, value] : session) {
    if (key.empty() || key.find('=') != std::string::npos) __builtin_trap();
    for (unsigned char c : key + value) {
      if (c < 0x20 || c == 0x7f || c == ';' || c == ',') __builtin_trap();
    }
  }
  for (const auto& [name, value] : SHKGoogleReader::signatureFields(session)) {
    if (value.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  }
  return 0;
}
