#include "platform/xml/XmlParseError.h"

namespace xml {

std::string XmlParseError::describe() const {
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
}

}  // namespace xml
