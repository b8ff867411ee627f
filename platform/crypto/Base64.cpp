#include "platform/crypto/Base64.h"

#include <openssl/evp.h>

#include <cstring>

namespace crypto {
namespace {

// Input bytes that fill one output line exactly.
constexpr std::size_t kBytesPerLine = Base64::kLineLength / 4 * 3;

}  // namespace

std::size_t Base64::encodedLength(std::size_t byteCount) {
  std::size_t chars = (byteCount + 2) / 3 * 4;
  return chars + chars / kLineLength * 2;
}

bool Base64::encode(const void* bytes, std::size_t byteCount, char* out, std::size_t outSize,
                    std::size_t& written) {
  if (outSize < encodedLength(byteCount)) return false;
  const auto* in = static_cast<const unsigned char*>(bytes);
  // EVP_EncodeBlock adds a NUL after its output, so each line goes through a local buffer.
  unsigned char line[kLineLength + 1];
  std::size_t pos = 0;
  for (std::size_t done = 0; done < byteCount; done += kBytesPerLine) {
    std::size_t chunk = byteCount - done < kBytesPerLine ? byteCount - done : kBytesPerLine;
    int chars = EVP_EncodeBlock(line, in + done, static_cast<int>(chunk));
    std::memcpy(out + pos, line, static_cast<std::size_t>(chars));
    pos += static_cast<std::size_t>(chars);
    if (static_cast<std::size_t>(chars) == kLineLength) {
      out[pos++] = '\r';
      out[pos++] = '\n';
    }
  }
  written = pos;
  return true;
}

std::string Base64::encode(std::string_view bytes) {
  std::string out(encodedLength(bytes.size()), '\0');
  std::size_t written = 0;
  encode(bytes.data(), bytes.size(), out.data(), out.size(), written);
  out.resize(written);
  return out;
}

}  // namespace crypto
