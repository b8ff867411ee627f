#pragma once
#include <string>
#include <string_view>
#include <vector>

// Small string helpers on UTF-8 std::string, in the spirit of the platform's string class.
namespace base {

// Replaces every occurrence of `from` (non-empty) with `to`; returns how many were replaced.
size_t replaceAll(std::string& s, std::string_view from, std::string_view to);
// Splits at every occurrence of `sep` (non-empty); always at least one piece.
std::vector<std::string> split(std::string_view s, std::string_view sep);
std::string join(const std::vector<std::string>& parts, std::string_view sep);
std::string trim(std::string_view s);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);
bool contains(std::string_view s, std::string_view what);
std::string toLowerAscii(std::string_view s);
// Text made safe inside HTML elements and quoted attributes: & < > " ' as references.
std::string escapeHtml(std::string_view s);
// Text for inside a JSON string (quotes not added): the quotation mark, the backslash, control
// characters and U+2028/U+2029 (which end a line in script) escaped; other bytes as they are.
std::string escapeJson(std::string_view text);
// Removes every ASCII white-space character (blank, tab, CR, LF, VT, FF).
std::string removingWhitespace(std::string_view s);
// Whether `s` is well-formed UTF-8: no stray or missing continuation bytes, no overlong forms,
// no UTF-16 surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s);
// printf-style formatting into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace base
