#include "app/sandbox/FormFields.h"

#include <algorithm>

#include "platform/net/Url.h"

std::string formDecode(std::string_view text) {
  std::string plus(text);
  std::replace(plus.begin(), plus.end(), '+', ' ');
  return net::unescape(plus);
}

std::map<std::string, std::string> formFields(std::string_view text) {
  std::map<std::string, std::string> fields;
  while (!text.empty()) {
    size_t end = text.find('&');
    std::string_view pair = text.substr(0, end);
    size_t equals = pair.find('=');
    std::string name = formDecode(pair.substr(0, equals));
    std::string value = equals == std::string_view::npos ? "" : formDecode(pair.substr(equals + 1));
    fields.emplace(std::move(name), std::move(value));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return fields;
}
