#include "platform/net/Url.h"

#include <cctype>
#include <charconv>

namespace net {
namespace {

bool isUnreserved(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

// Characters that may appear in an address as written (RFC 3986 unreserved and reserved, and "%").
bool isLegal(unsigned char c) {
  if (c <= 0x20 || c >= 0x7f) return false;
  switch (c) {
    case '"':
    case '<':
    case '>':
    case '\\':
    case '^':
    case '`':
    case '{':
    case '|':
    case '}':
      return false;
    default:
      return true;
  }
}

bool isHex(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (std::tolower(static_cast<unsigned char>(c)) - 'a') + 10;
}

void appendEscaped(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[c >> 4];
  out += kHex[c & 0xf];
}

bool isValidScheme(std::string_view s) {
  if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
      return false;
  }
  return true;
}

}  // namespace

std::optional<Url> Url::parse(std::string_view text) {
  if (text.empty()) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!isLegal(c)) return std::nullopt;
    if (c == '%' && (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])))
      return std::nullopt;
  }

  Url url;
  url.text_ = std::string(text);
  std::string_view rest = text;

  // Fragment and query come off the end first; neither may hold the other's delimiter before it.
  if (size_t hash = rest.find('#'); hash != std::string_view::npos) {
    url.fragment_ = std::string(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  if (size_t q = rest.find('?'); q != std::string_view::npos) {
    url.query_ = std::string(rest.substr(q + 1));
    rest = rest.substr(0, q);
  }
  // A scheme ends at the first ":" that comes before any "/".
  if (size_t colon = rest.find(':'); colon != std::string_view::npos) {
    std::string_view candidate = rest.substr(0, colon);
    if (candidate.find('/') == std::string_view::npos) {
      if (!isValidScheme(candidate)) return std::nullopt;
      url.scheme_ = std::string(candidate);
      rest = rest.substr(colon + 1);
    }
  }
  if (rest.starts_with("//")) {
    rest = rest.substr(2);
    size_t end = rest.find('/');
    std::string_view authority = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    if (size_t at = authority.rfind('@'); at != std::string_view::npos)
      authority = authority.substr(at + 1);
    std::string_view hostPart = authority;
    std::string_view portPart;
    bool hasPort = false;
    if (authority.starts_with('[')) {
      size_t close = authority.find(']');
      if (close == std::string_view::npos) return std::nullopt;
      hostPart = authority.substr(1, close - 1);
      std::string_view after = authority.substr(close + 1);
      if (!after.empty()) {
        if (after[0] != ':') return std::nullopt;
        portPart = after.substr(1);
        hasPort = true;
      }
    } else if (size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
      hostPart = authority.substr(0, colon);
      portPart = authority.substr(colon + 1);
      hasPort = true;
    }
    if (hasPort && !portPart.empty()) {
      int port = 0;
      auto [ptr, ec] = std::from_chars(portPart.data(), portPart.data() + portPart.size(), port);
      if (ec != std::errc() || ptr != portPart.data() + portPart.size() || port < 0 || port > 65535)
        return std::nullopt;
      url.port_ = port;
    }
    url.host_ = std::string(hostPart);
  }
  url.path_ = std::string(rest);
  return url;
}

std::string Url::withoutQuery() const {
  size_t end = text_.find_first_of("?#");
  return end == std::string::npos ? text_ : text_.substr(0, end);
}

std::string escapeAddress(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool startsEscape = i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2]);
    if (isLegal(c) && (c != '%' || startsEscape))
      out += text[i];
    else
      appendEscaped(out, c);
  }
  return out;
}

std::string escapeComponent(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (isUnreserved(c))
      out += ch;
    else
      appendEscaped(out, c);
  }
  return out;
}

std::string unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2])) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace net
