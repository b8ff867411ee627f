#include "sharing/config/ConfigFile.h"

#include <cctype>

namespace {

std::string_view trim(std::string_view text) {
  const char* blanks = " \t\r";
  size_t from = text.find_first_not_of(blanks);
  if (from == std::string_view::npos) return {};
  return text.substr(from, text.find_last_not_of(blanks) - from + 1);
}

bool isName(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.') {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<ConfigFile::Entry> ConfigFile::parse(std::string_view text,
                                                 std::vector<Problem>& problems) {
  std::vector<Entry> entries;
  std::string section;
  int number = 0;
  while (!text.empty()) {
    ++number;
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      std::string_view name =
          line.back() == ']' ? trim(line.substr(1, line.size() - 2)) : std::string_view();
      if (line.back() != ']' || !isName(name)) {
        problems.push_back({number, "expected a section name in brackets, such as [SHKTwitter]"});
        // The keys below would land in the wrong section; leave them out until the next header.
        section = "\n";
        continue;
      }
      section = name;
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      problems.push_back({number, "expected \"key = value\""});
      continue;
    }
    std::string_view key = trim(line.substr(0, eq));
    std::string_view value = trim(line.substr(eq + 1));
    if (!isName(key)) {
      problems.push_back({number, "expected a key name before \"=\""});
      continue;
    }
    if (value.empty()) {
      problems.push_back({number, "\"" + std::string(key) + "\" needs a value"});
      continue;
    }
    if (section == "\n") continue;
    entries.push_back({section, std::string(key), std::string(value), number});
  }
  return entries;
}
