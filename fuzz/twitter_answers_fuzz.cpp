// Any bytes as an answer of the status update (error scan) or of the picture host (link scan):
// the results are pieces of the answer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sharing/services/SHKTwitter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view answer(reinterpret_cast<const char*>(data), size);
  std::string message = SHKTwitter::errorMessage(answer);
  if (message != "Unknown Error" && answer.find(message) == std::string_view::npos) {
    __builtin_trap();
  }
  auto link = SHKTwitter::pictureLink(answer);
  if (link && answer.find(*link) == std::string_view::npos) __builtin_trap();
  return 0;
}
