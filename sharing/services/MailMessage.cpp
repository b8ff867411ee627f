#include "sharing/services/MailMessage.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "platform/base/Uuid.h"
#include "platform/crypto/Base64.h"

namespace {

// Controls (CR and LF above all) become spaces: a header value stays on its own line.
std::string flatten(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) c = ' ';
  }
  return out;
}

bool isPlainAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c < 0x20 || c >= 0x7f) return false;
  return true;
}

// Appends `bytes` as Base64 lines ending in CRLF, encoded in place at the end of `out`.
void appendBase64Lines(std::string& out, std::string_view bytes) {
  const size_t at = out.size();
  const size_t length = crypto::Base64::encodedLength(bytes.size());
  out.resize(at + length);
  size_t written = 0;
  crypto::Base64::encode(bytes.data(), bytes.size(), out.data() + at, length, written);
  out.resize(at + written);
  if (written > 0 && !out.ends_with("\r\n")) out += "\r\n";
}

// Cuts UTF-8 text into pieces of at most `maxBytes` that do not split a character.
std::vector<std::string_view> utf8Chunks(std::string_view text, size_t maxBytes) {
  std::vector<std::string_view> chunks;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = std::min(text.size(), start + maxBytes);
    while (end < text.size() && end > start + 1 &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
      --end;
    chunks.push_back(text.substr(start, end - start));
    start = end;
  }
  return chunks;
}

std::string rfc5322Date() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%a, %d %b %Y %H:%M:%S +0000", &tm);
  return buffer;
}

std::string joined(const std::vector<std::string>& list) {
  std::string out;
  for (const std::string& item : list) out += (out.empty() ? "" : ", ") + item;
  return out;
}

}  // namespace

bool MailMessage::isValidAddress(std::string_view address) {
  size_t at = address.rfind('@');
  if (at == std::string_view::npos || at == 0 || at + 1 >= address.size()) return false;
  if (address.size() > 254) return false;
  for (unsigned char c : address) {
    if (c <= 0x20 || c >= 0x7f) return false;
    if (std::string_view("<>,;:\"()[]\\").find(static_cast<char>(c)) != std::string_view::npos)
      return false;
  }
  return address.find('@') == at;
}

std::vector<std::string> MailMessage::splitAddresses(std::string_view list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    std::string_view part = list.substr(start, comma - start);
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
    if (!part.empty()) out.emplace_back(part);
    start = comma + 1;
  }
  return out;
}

std::optional<std::string> MailMessage::problem() const {
  if (!isValidAddress(from)) return "The sender address \"" + flatten(from) + "\" is not valid";
  if (to.empty() && cc.empty()) return std::string("There is no recipient");
  for (const auto* list : {&to, &cc}) {
    for (const std::string& address : *list)
      if (!isValidAddress(address)) return "The address \"" + flatten(address) + "\" is not valid";
  }
  return std::nullopt;
}

std::string MailMessage::encodeHeaderText(std::string_view text) {
  std::string flat = flatten(text);
  if (isPlainAscii(flat)) return flat;
  // 45 bytes of UTF-8 give 60 Base64 characters: each word stays under 75 characters.
  std::string out;
  for (std::string_view chunk : utf8Chunks(flat, 45)) {
    if (!out.empty()) out += "\r\n ";
    std::string encoded = crypto::Base64::encode(chunk);
    out += "=?UTF-8?B?" + encoded + "?=";
  }
  return out;
}

std::string MailMessage::filenameParameter(std::string_view filename) {
  std::string flat = flatten(filename);
  bool plain = isPlainAscii(flat) && flat.find_first_of("\"\\") == std::string::npos;
  if (plain) return "filename=\"" + flat + "\"";
  static const char* hex = "0123456789ABCDEF";
  std::string out = "filename*=UTF-8''";
  for (unsigned char c : flat) {
    if (std::isalnum(c) ||
        std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string MailMessage::build(std::string boundary, std::string date) const {
  if (boundary.empty()) boundary = "=_vemo_" + base::Uuid::generateString();
  if (date.empty()) date = rfc5322Date();
  std::string out;
  size_t total = 1024 + crypto::Base64::encodedLength(htmlBody.size());
  for (const Attachment& a : attachments)
    total += crypto::Base64::encodedLength(a.data.size()) + 512 + a.filename.size() * 3;
  out.reserve(total);
  out += "Date: " + date + "\r\n";
  out += "From: " + flatten(from) + "\r\n";
  if (!to.empty()) out += "To: " + flatten(joined(to)) + "\r\n";
  if (!cc.empty()) out += "Cc: " + flatten(joined(cc)) + "\r\n";
  out += "Subject: " + encodeHeaderText(subject) + "\r\n";
  out += "MIME-Version: 1.0\r\n";
  auto appendBodyPart = [&] {
    out += "Content-Type: text/html; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    appendBase64Lines(out, htmlBody);
  };
  if (attachments.empty()) {
    appendBodyPart();
    return out;
  }
  out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
  out += "--" + boundary + "\r\n";
  appendBodyPart();
  for (const Attachment& a : attachments) {
    std::string type = flatten(a.mimeType);
    if (type.empty() || type.find_first_of(" ;\"") != std::string::npos)
      type = "application/octet-stream";
    out += "--" + boundary + "\r\n";
    out += "Content-Type: " + type + "\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment; " + filenameParameter(a.filename) + "\r\n\r\n";
    appendBase64Lines(
        out, std::string_view(reinterpret_cast<const char*>(a.data.data()), a.data.size()));
  }
  out += "--" + boundary + "--\r\n";
  return out;
}
