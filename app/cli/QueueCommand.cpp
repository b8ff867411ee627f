#include "app/cli/QueueCommand.h"

#include <chrono>

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "sharing/core/SHK.h"
#include "sharing/core/SHKItem.h"
#include "sharing/core/SHKOfflineQueue.h"
#include "sharing/core/SHKSharer.h"

namespace {

// How often a flush looks whether its operations have ended.
constexpr double kCheckSeconds = 0.1;

const char* kindName(int64_t type) {
  switch (type) {
    case SHKShareTypeURL:
      return "url";
    case SHKShareTypeText:
      return "text";
    case SHKShareTypeImage:
      return "image";
    case SHKShareTypeFile:
      return "file";
    default:
      return "?";
  }
}

// One line of what an entry shares: its link, else its title, else its text.
std::string summary(store::PlistView item) {
  for (const char* key : {"URL", "title", "text"}) {
    if (auto value = item.get(key).asString()) {
      std::string line = value->substr(0, value->find('\n'));
      return line.size() > 80 ? line.substr(0, 77) + "..." : line;
    }
  }
  return "";
}

int list(std::ostream& out) {
  auto entries = SHKOfflineQueue::getOfflineQueueList();
  if (!entries || entries->view().size() == 0) {
    out << "The offline queue is empty.\n";
    return 0;
  }
  store::PlistView all = entries->view();
  for (size_t i = 0; i < all.size(); ++i) {
    store::PlistView entry = all.at(i);
    store::PlistView item = entry.get("item");
    out << entry.get("uid").asString().value_or("?") << "\t"
        << entry.get("sharer").asString().value_or("?") << "\t"
        << kindName(item.get("shareType").asInteger().value_or(0)) << "\t" << summary(item) << "\n";
  }
  return 0;
}

int flush(std::ostream& out, std::ostream& err) {
  if (!SHK::connected()) {
    err << "vemo: offline; the queue is kept for later\n";
    return 1;
  }
  int finished = 0, failed = 0;
  auto& center = base::NotificationCenter::defaultCenter();
  base::ObserverToken done = center.addObserver(SHKSharer::kSendDidFinishNotification,
                                                [&](const base::Notification&) { ++finished; });
  base::ObserverToken fail = center.addObserver(
      SHKSharer::kSendDidFailNotification, [&](const base::Notification& notification) {
        ++failed;
        // The services are quiet here: their failures are told on the terminal.
        auto sharer = notification.objectAs<SHKSharer*>();
        if (sharer && *sharer && (*sharer)->lastError()) {
          err << (*sharer)->sharerTitle() << ": " << (*sharer)->lastError()->localizedDescription
              << "\n";
        }
      });
  size_t started = SHKOfflineQueue::flushOfflineQueue();
  // An operation's thread posts nothing to the loop when it ends: look again in short steps.
  auto ended = [] { return SHKOfflineQueue::operations().operationCount() == 0; };
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration<double>(QueueCommand::kFlushTimeoutSeconds);
  while (!ended() && std::chrono::steady_clock::now() < deadline) {
    base::RunLoop::main().runUntilCondition(ended, kCheckSeconds);
  }
  out << "Sent " << finished << " of " << started << " queued shares";
  if (failed) out << " (" << failed << " failed)";
  out << ".\n";
  // Shares put back (one that needs the window, or the network gone again) wait for later.
  if (auto kept = SHKOfflineQueue::getOfflineQueueList(); kept && kept->view().size() > 0) {
    out << kept->view().size() << " left in the queue.\n";
  }
  return static_cast<size_t>(finished) == started ? 0 : 1;
}

}  // namespace

std::string QueueCommand::usage() {
  return "Offline queue:\n"
         "  vemo queue list        the shares kept while offline\n"
         "  vemo queue flush       send them now\n";
}

int QueueCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 2 && args[1] == "list") return list(out);
  if (args.size() == 2 && args[1] == "flush") return flush(out, err);
  err << "vemo: queue needs list or flush\n\n" << usage();
  return 2;
}
