#pragma once
#include <string>
#include <string_view>
#include <vector>

// The syntax of the program's configuration file: lines "key = value", "[section]" headers that
// put the keys below them in that section, blank lines and lines starting with "#" ignored.
// Keys before the first header belong to the section "". Keys and values are trimmed.
class ConfigFile {
 public:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
    int line = 0;
  };
  struct Problem {
    int line = 0;
    std::string message;
  };

  // Every well-formed "key = value" line in order; each malformed line gives one problem and is
  // left out.
  static std::vector<Entry> parse(std::string_view text, std::vector<Problem>& problems);
};
