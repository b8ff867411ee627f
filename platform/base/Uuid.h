#pragma once
#include <string>

namespace base {

// Random (version 4) UUIDs.
class Uuid {
 public:
  // A new UUID in the standard text form: 36 characters, groups of 8, 4, 4, 4 and 12 upper-case
  // hexadecimal digits joined by "-".
  static std::string generateString();
};

}  // namespace base
