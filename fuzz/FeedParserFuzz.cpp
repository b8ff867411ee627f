// Feeds arbitrary bytes to the feed client's parser: menu and RSS documents, any encoding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "reader/feed/HTTPConnection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HTTPConnection connection;
  connection.parseData(std::string(reinterpret_cast<const char*>(data), size));
  for (const FeedRecord& record : connection.getDataInArray()) {
    if (auto item = std::get_if<ItemPtr>(&record)) {
      // Every story field the feed fills is present.
      if (!(*item)->title || !(*item)->link || !(*item)->description || !(*item)->pubDate ||
          !(*item)->guid || !(*item)->imgLink)
        __builtin_trap();
    }
  }
  return 0;
}
