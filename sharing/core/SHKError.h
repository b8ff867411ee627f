#pragma once
#include <string>

// An error of the sharing framework, shown to the user by its description.
struct SHKError {
  static constexpr const char* kDomain = "sharing";
  static constexpr long kCode = 1;

  std::string domain = kDomain;
  long code = kCode;
  std::string localizedDescription;
};
