// Feeds arbitrary bytes to the Facebook client's answer parsing: values, lists, error answers,
// any nesting depth and encoding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "facebook/FBRequest.h"

namespace {

// Visits every value without recursion; each container is reached exactly once.
void walk(const FBValue& root) {
  std::vector<const FBValue*> pending{&root};
  while (!pending.empty()) {
    const FBValue* value = pending.back();
    pending.pop_back();
    if (const auto* a = value->array()) {
      for (const FBValue& entry : *a) pending.push_back(&entry);
    } else if (const auto* d = value->dictionary()) {
      for (const auto& [name, member] : *d) {
        if (name.empty()) __builtin_trap();
        pending.push_back(&member);
      }
    } else if (value->string() && value->string()->empty()) {
      __builtin_trap();  // blank text is dropped, so no element is an empty string
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto outcome = FBRequest::parseXMLResponse(std::string(reinterpret_cast<const char*>(data), size),
                                             "api.facebook.com");
  if (const auto* value = std::get_if<FBValue>(&outcome)) {
    walk(*value);
  } else {
    const FBError& error = std::get<FBError>(outcome);
    if (error.domain != "xml" && error.domain != "api.facebook.com") __builtin_trap();
    walk(error.requestArgs);
  }
  return 0;
}
