#pragma once
#include <map>
#include <string>
#include <string_view>

// Form text unescaped: "+" is a blank, then %XX escapes.
std::string formDecode(std::string_view text);

// The fields of an "a=1&b=2" form body or query, unescaped ("+" is a blank). A name given twice
// keeps its first value.
std::map<std::string, std::string> formFields(std::string_view text);
