#include "platform/base/TextFormat.h"

namespace base {

namespace {

[[noreturn]] void fail(std::string_view format, const std::string& why) {
  throw FormatError("format \"" + std::string(format) + "\": " + why);
}

}  // namespace

std::string formatSpecifiers(std::string_view format) {
  std::string found;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i == format.size()) fail(format, "ends inside a specifier");
    char c = format[i];
    if (c == '%') continue;
    if (c != '@' && c != 'd' && c != 'i') fail(format, std::string("unknown specifier %") + c);
    found += c;
  }
  return found;
}

std::string formatText(std::string_view format, std::span<const FormatArg> args) {
  std::string specifiers = formatSpecifiers(format);
  if (specifiers.size() != args.size()) {
    fail(format, "takes " + std::to_string(specifiers.size()) + " arguments, given " +
                     std::to_string(args.size()));
  }
  std::string out;
  out.reserve(format.size());
  auto arg = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    char c = format[++i];
    if (c == '%') {
      out += '%';
    } else if (const std::string* text = arg->text()) {
      if (c != '@') fail(format, "%" + std::string(1, c) + " given text");
      out += *text;
      ++arg;
    } else {
      out += std::to_string(*arg->number());
      ++arg;
    }
  }
  return out;
}

}  // namespace base
