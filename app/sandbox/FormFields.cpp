#include "app/sandbox/FormFields.h"

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string unescapeFormText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
               hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::map<std::string, std::string> formFields(std::string_view text) {
  std::map<std::string, std::string> fields;
  while (!text.empty()) {
    size_t end = text.find('&');
    std::string_view pair = text.substr(0, end);
    size_t equals = pair.find('=');
    std::string name = unescapeFormText(pair.substr(0, equals));
    std::string value =
        equals == std::string_view::npos ? "" : unescapeFormText(pair.substr(equals + 1));
    fields.emplace(std::move(name), std::move(value));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return fields;
}
