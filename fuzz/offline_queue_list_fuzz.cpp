// Reads arbitrary bytes as the offline queue's list file: the list must come back as an array or
// not at all (the file then kept aside), and no entry's uid that passes the check may name
// anything but a plain file in the queue folder.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <fstream>

#include "fuzz/ScratchFolder.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKOfflineQueue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFolder scratch("offline-queue-fuzz");
  static bool ready = setenv("XDG_CACHE_HOME", scratch.path().c_str(), 1) == 0;
  if (!ready) abort();
  {
    std::ofstream out(SHKOfflineQueue::offlineQueueListPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  auto list = SHKOfflineQueue::getOfflineQueueList();
  if (list) {
    if (list->type() != store::PlistType::Array) __builtin_trap();
    for (size_t i = 0; i < list->view().size(); ++i) {
      store::PlistView entry = list->view().at(i);
      SHKItem::itemFromDictionary(entry.get("item"));
      if (auto uid = entry.get("uid").asString(); uid && SHKOfflineQueue::isValidUid(*uid)) {
        std::filesystem::path name(*uid);
        if (name.has_parent_path() || *uid == "." || *uid == ".." ||
            uid->find('\0') != std::string::npos)
          __builtin_trap();
      }
    }
  }
  std::error_code ec;
  for (const auto& f : std::filesystem::directory_iterator(SHKOfflineQueue::offlineQueuePath(), ec))
    std::filesystem::remove(f.path(), ec);
  return 0;
}
