#pragma once
#include <string>

namespace xml {

// Where and why a document stopped being well-formed. Lines and columns count from 1.
struct XmlParseError {
  long code = 0;
  unsigned long line = 0;
  unsigned long column = 0;
  std::string message;

  // "line L, column C: message"
  std::string describe() const;
};

}  // namespace xml
