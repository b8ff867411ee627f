// Reads arbitrary bytes as an answer of Read It Later ("X-Error" header) and of Pinboard (body):
// Read It Later's failure text is the header exactly as sent, never read as a format; Pinboard
// saves only on a whole answer holding the quoted done, and "401 Forbidden" is always a refused
// login.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sharing/services/SHKPinboard.h"
#include "sharing/services/SHKReadItLater.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int status = 100 + data[0] % 500;
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  net::UrlResponse response;
  response.setStatusCode(status);
  response.addHeaderField("X-Error", text);
  std::string shown = SHKReadItLater::errorText(response);
  if (!text.empty() && shown != response.valueForHeaderField("X-Error")) __builtin_trap();
  if (shown.empty()) __builtin_trap();

  bool success = status == 200 || status == 201;
  auto answer = SHKPinboard::judgeSend(success, text);
  if (text == SHKPinboard::kForbidden && answer != SHKPinboard::Answer::LoginRefused)
    __builtin_trap();
  if (answer == SHKPinboard::Answer::Saved &&
      (!success || text.find("\"done\"") == std::string::npos))
    __builtin_trap();
  if (SHKPinboard::acceptsLogin(status, text) && (status != 200 || text == SHKPinboard::kForbidden))
    __builtin_trap();
  return 0;
}
