#pragma once
// Compact text of answer values for table tests: null, "text", [a,b], {key:value} (keys sorted).
#include <string>

#include "facebook/FBValue.h"

namespace testing_support {

inline std::string render(const FBValue& value) {
  switch (value.type()) {
    case FBValue::Type::Null:
      return "null";
    case FBValue::Type::String:
      return "\"" + std::string(value.text()) + "\"";
    case FBValue::Type::Array: {
      std::string out = "[";
      for (const FBValue& entry : *value.array())
        out += (out.size() > 1 ? "," : "") + render(entry);
      return out + "]";
    }
    case FBValue::Type::Dictionary: {
      std::string out = "{";
      for (const auto& [key, member] : *value.dictionary())
        out += (out.size() > 1 ? "," : "") + key + ":" + render(member);
      return out + "}";
    }
  }
  return "?";
}

}  // namespace testing_support
