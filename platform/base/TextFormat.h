#pragma once
#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

// Formats the user-visible texts of the sharing screens: "%@" takes any argument (text, or a
// number written in decimal), "%d" and "%i" take a whole number, "%%" is a percent sign.
// Arguments are values, never formats, so text from outside (a server's message, a page title)
// is copied as it is. A format whose specifiers do not match its arguments, or that holds any
// other specifier, throws FormatError.
namespace base {

class FormatError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

class FormatArg {
 public:
  FormatArg(std::string_view text) : value_(std::string(text)) {}
  FormatArg(const char* text) : value_(std::string(text ? text : "")) {}
  FormatArg(const std::string& text) : value_(text) {}
  template <typename T>
  requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
      FormatArg(T number)
      : value_(static_cast<std::int64_t>(number)) {}

  const std::string* text() const { return std::get_if<std::string>(&value_); }
  const std::int64_t* number() const { return std::get_if<std::int64_t>(&value_); }

 private:
  std::variant<std::string, std::int64_t> value_;
};

std::string formatText(std::string_view format, std::span<const FormatArg> args);
inline std::string formatText(std::string_view format, std::initializer_list<FormatArg> args) {
  return formatText(format, std::span<const FormatArg>(args.begin(), args.size()));
}

// The specifiers of `format` in order, one letter each ('@', 'd', 'i'); throws FormatError on
// an unknown or unfinished one.
std::string formatSpecifiers(std::string_view format);

}  // namespace base
