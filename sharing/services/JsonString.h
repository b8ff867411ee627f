#pragma once
#include <string>
#include <string_view>

// `text` escaped for use inside a JSON string (quotes not added): the quotation mark, the
// backslash and control characters are escaped; other bytes pass as they are.
std::string jsonEscape(std::string_view text);
