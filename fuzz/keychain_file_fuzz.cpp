// Reads arbitrary bytes as the keychain file; whatever parses must be written back and read
// again to the very same items.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/store/FileSecretStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto items = store::FileSecretStore::parse(std::span<const uint8_t>(data, size));
  if (!items) return 0;
  auto again = store::FileSecretStore::parse(store::FileSecretStore::serialize(*items));
  if (!again || again->size() != items->size()) __builtin_trap();
  for (size_t i = 0; i < items->size(); ++i) {
    const auto& a = (*items)[i];
    const auto& b = (*again)[i];
    if (a.service != b.service || a.account != b.account || a.label != b.label ||
        a.secret != b.secret)
      __builtin_trap();
  }
  return 0;
}
