#include "sharing/core/helpers/oauth/OAURLEncoding.h"

std::string URLEncodedString(std::string_view text) {
  return net::escapeComponent(text);
}

std::string URLDecodedString(std::string_view text) {
  return net::unescape(text);
}

std::string URLStringWithoutQuery(const net::Url& url) {
  // A fragment is never sent, so it cannot be part of what the service signs either.
  const std::string& text = url.absoluteString();
  return text.substr(0, text.find_first_of("?#"));
}
