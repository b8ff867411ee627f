#pragma once
#include <optional>
#include <string>

// One field of a login or share form.
struct SHKFormFieldSettings {
  enum Type : int { Text = 0, Password = 1, Switch = 2 };

  std::string label;
  std::string key;
  int type = Text;
  // The first value; for a switch "1" is on, anything else off.
  std::optional<std::string> start;

  static SHKFormFieldSettings make(std::string label, std::string key, int type,
                                   std::optional<std::string> start = std::nullopt) {
    return SHKFormFieldSettings{std::move(label), std::move(key), type, std::move(start)};
  }
};
