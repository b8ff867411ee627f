// Feeds arbitrary bytes to the keyed-archive decoder in each of the ways the program reads
// archives: saved stories, the view style, and any property-list object under any top key.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/store/KeyedUnarchiver.h"
#include "reader/model/Item.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  std::string error;
  store::KeyedUnarchiver::unarchiveArray<Item>(bytes, &error);
  store::KeyedUnarchiver::unarchiveString(bytes, &error);
  if (auto coder = store::KeyedUnarchiver::open(bytes, &error)) {
    for (const char* key : {"root", "$0"}) {
      coder->decodePropertyListForKey(key);
      coder->decodeObjectForKey<Item>(key);
    }
  }
  return 0;
}
