#include "app/sandbox/StatusFromLink.h"

std::optional<int> statusFromLink(std::string_view text) {
  constexpr std::string_view kMark = "sandbox-status=";
  size_t at = text.find(kMark);
  if (at == std::string_view::npos || at + kMark.size() + 3 > text.size()) return std::nullopt;
  int status = 0;
  for (char c : text.substr(at + kMark.size(), 3)) {
    if (c < '0' || c > '9') return std::nullopt;
    status = status * 10 + (c - '0');
  }
  if (status < 100 || status > 599) return std::nullopt;
  return status;
}
