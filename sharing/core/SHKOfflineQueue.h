#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/OperationQueue.h"
#include "platform/store/Plist.h"

class SHKItem;

// Shares kept for later while the network is down: the list "SHKOfflineQueue.plist" (an array
// of {"item", "sharer", "uid"}, written atomically) in the folder "SHK" of the program's cache
// folder, and beside it one body file per picture or file share, named by the entry's uid.
// Flushing hands every entry to its service, each as an operation of its own; the list is
// deleted first, so each entry is tried once. Main thread only.
class SHKOfflineQueue {
 public:
  // At most this many queued shares run at once.
  static constexpr size_t kMaxConcurrentShares = 4;
  static constexpr size_t kMaxUidLength = 200;
  static constexpr double kJpegQuality = 1.0;

  // Makes the share services queue offline shares here.
  static void install();

  // The folder, created when missing.
  static std::filesystem::path offlineQueuePath();
  static std::filesystem::path offlineQueueListPath();
  // The stored list, or nothing when there is none. A list that does not read as an array is
  // moved aside (and logged) and counts as none.
  static std::optional<store::Plist> getOfflineQueueList();
  static bool saveOfflineQueueList(const store::Plist& list);
  // Stores the share (and its picture or file) as a new entry; false when it could not.
  static bool addToOfflineQueue(const SHKItem& item, const std::string& sharerId);
  // Puts a flushed entry back at the end of the list as it was: its item's dictionary, its
  // service and its uid, whose body file stays. False when the list could not be written.
  static bool putBack(const store::Plist& item, const std::string& sharerId,
                      const std::string& uid);
  // While online: starts every valid entry and deletes the list; returns how many started.
  // Entries naming an unknown service or a uid that is not one this queue makes are skipped,
  // and their body files deleted.
  static size_t flushOfflineQueue();
  // The operations of the last flushes.
  static base::OperationQueue& operations();

  // Whether `uid` is one addToOfflineQueue makes ("<sharer>-<type>-<seconds>-<random>"), and so
  // a plain file name in the folder.
  static bool isValidUid(std::string_view uid);
  static void removeBodyFile(const std::string& uid);
};
