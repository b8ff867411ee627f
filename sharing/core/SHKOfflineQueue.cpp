#include "sharing/core/SHKOfflineQueue.h"

#include <ctime>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

#include "platform/base/AtomicFile.h"
#include "platform/base/Log.h"
#include "platform/base/Paths.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKOfflineSharer.h"
#include "sharing/core/SHKSharer.h"

namespace {

std::string makeUid(const std::string& sharerId, int32_t type) {
  static std::mt19937 random{std::random_device{}()};
  return sharerId + "-" + std::to_string(type) + "-" +
         std::to_string(static_cast<long long>(std::time(nullptr))) + "-" +
         std::to_string(static_cast<int32_t>(random()));
}

std::span<const uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

void SHKOfflineQueue::install() {
  SHK::setOfflineQueueAdder([](const SHKItem& item, const std::string& sharerId) {
    return addToOfflineQueue(item, sharerId);
  });
}

std::filesystem::path SHKOfflineQueue::offlineQueuePath() {
  std::filesystem::path folder = base::paths::appCacheDir() / SHK::kOfflineQueueFolder;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

std::filesystem::path SHKOfflineQueue::offlineQueueListPath() {
  return offlineQueuePath() / SHK::kOfflineQueueListFile;
}

std::optional<store::Plist> SHKOfflineQueue::getOfflineQueueList() {
  std::filesystem::path file = offlineQueueListPath();
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::string reason;
  auto list = store::Plist::fromBytes(bytesOf(bytes), &reason);
  if (list && list->type() == store::PlistType::Array) return list;
  // Kept aside rather than overwritten, so nothing in it is lost for good.
  std::error_code ec;
  std::filesystem::rename(file, base::corruptAsideName(file), ec);
  base::log("Offline queue: the list is not an array (" + (list ? "wrong type" : reason) +
            "); kept aside");
  return std::nullopt;
}

bool SHKOfflineQueue::saveOfflineQueueList(const store::Plist& list) {
  std::string error;
  if (base::writeFileAtomically(offlineQueueListPath(), bytesOf(list.toXml()), &error)) return true;
  base::log("Offline queue: the list was not written: " + error);
  return false;
}

bool SHKOfflineQueue::addToOfflineQueue(const SHKItem& item, const std::string& sharerId) {
  std::string uid = makeUid(sharerId, item.shareType());
  std::filesystem::path body = offlineQueuePath() / uid;
  if (item.shareType() == SHKShareTypeImage && item.image()) {
    if (!base::writeFileAtomically(body, bytesOf(item.image()->jpegData(kJpegQuality))))
      return false;
  } else if (item.shareType() == SHKShareTypeFile && item.data()) {
    if (!base::writeFileAtomically(body, *item.data())) return false;
  }
  if (putBack(item.dictionaryRepresentation(), sharerId, uid)) return true;
  removeBodyFile(uid);
  return false;
}

bool SHKOfflineQueue::putBack(const store::Plist& item, const std::string& sharerId,
                              const std::string& uid) {
  store::Plist list = getOfflineQueueList().value_or(store::Plist::array());
  store::Plist entry = store::Plist::dictionary();
  entry.set("item", item);
  entry.set("sharer", store::Plist::string(sharerId));
  entry.set("uid", store::Plist::string(uid));
  list.append(std::move(entry));
  return saveOfflineQueueList(list);
}

bool SHKOfflineQueue::isValidUid(std::string_view uid) {
  static const std::regex pattern("[A-Za-z_][A-Za-z0-9_]*-[0-9]{1,10}-[0-9]{1,20}--?[0-9]{1,10}");
  return !uid.empty() && uid.size() <= kMaxUidLength &&
         std::regex_match(uid.begin(), uid.end(), pattern);
}

void SHKOfflineQueue::removeBodyFile(const std::string& uid) {
  if (!isValidUid(uid)) return;
  std::error_code ec;
  std::filesystem::remove(offlineQueuePath() / uid, ec);
}

base::OperationQueue& SHKOfflineQueue::operations() {
  // Never destroyed: an operation still waiting at exit must not hold the exit up.
  static auto* queue = new base::OperationQueue(kMaxConcurrentShares);
  return *queue;
}

size_t SHKOfflineQueue::flushOfflineQueue() {
  if (!SHK::connected()) return 0;
  auto list = getOfflineQueueList();
  if (!list) return 0;
  std::error_code ec;
  std::filesystem::remove(offlineQueueListPath(), ec);
  size_t started = 0;
  store::PlistView entries = list->view();
  for (size_t i = 0; i < entries.size(); ++i) {
    store::PlistView entry = entries.at(i);
    if (entry.type() != store::PlistType::Dictionary) continue;
    std::string sharer = entry.get("sharer").asString().value_or("");
    std::string uid = entry.get("uid").asString().value_or("");
    store::PlistView itemDictionary = entry.get("item");
    if (!isValidUid(uid) || !SHKSharer::isRegistered(sharer) ||
        itemDictionary.type() != store::PlistType::Dictionary) {
      base::log("Offline queue: entry " + std::to_string(i) + " skipped");
      removeBodyFile(uid);
      continue;
    }
    auto op = std::make_shared<SHKOfflineSharer>(SHKItem::itemFromDictionary(itemDictionary),
                                                 sharer, uid);
    operations().addOperation([op] { op->main(); });
    ++started;
  }
  return started;
}
