// Reads arbitrary property-list bytes as a stored share item, writes it back and reads it
// again: whatever was kept must survive the second trip unchanged.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sharing/core/SHKItem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto parsed = store::Plist::fromBytes(std::span<const uint8_t>(data, size));
  if (!parsed) return 0;
  auto item = SHKItem::itemFromDictionary(parsed->view());
  item->customBoolForSwitchKey("1");
  auto stored = store::Plist::fromBinary(item->dictionaryRepresentation().toBinary());
  if (!stored) __builtin_trap();
  auto again = SHKItem::itemFromDictionary(stored->view());
  if (again->shareType() != item->shareType() || again->title() != item->title() ||
      again->text() != item->text() || again->tags() != item->tags() ||
      again->custom().has_value() != item->custom().has_value() ||
      again->url().has_value() != item->url().has_value())
    __builtin_trap();
  return 0;
}
