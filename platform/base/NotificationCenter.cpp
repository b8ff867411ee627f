#include "platform/base/NotificationCenter.h"

#include <algorithm>

namespace base {

struct ObserverToken::Entry {
  std::string name;
  NotificationCenter::Handler handler;
  bool alive = true;
};

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept {
  if (this != &other) {
    reset();
    center_ = other.center_;
    entry_ = std::move(other.entry_);
  }
  return *this;
}

ObserverToken::~ObserverToken() { reset(); }

void ObserverToken::reset() {
  if (entry_ && center_) center_->remove(entry_);
  entry_.reset();
}

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

ObserverToken NotificationCenter::addObserver(std::string name, Handler handler) {
  auto entry = std::make_shared<ObserverToken::Entry>();
  entry->name = std::move(name);
  entry->handler = std::move(handler);
  std::lock_guard lock(mutex_);
  entries_.push_back(entry);
  return ObserverToken(this, std::move(entry));
}

void NotificationCenter::remove(const std::shared_ptr<ObserverToken::Entry>& entry) {
  std::lock_guard lock(mutex_);
  entry->alive = false;
  entries_.erase(std::remove(entries_.begin(), entries_.end(), entry), entries_.end());
}

void NotificationCenter::post(Notification notification) {
  std::vector<std::shared_ptr<ObserverToken::Entry>> targets;
  {
    std::lock_guard lock(mutex_);
    for (auto& e : entries_)
      if (e->name == notification.name) targets.push_back(e);
  }
  // An observer removed by an earlier handler of this same post is not called.
  for (auto& e : targets) {
    bool alive;
    {
      std::lock_guard lock(mutex_);
      alive = e->alive;
    }
    if (alive) e->handler(notification);
  }
}

size_t NotificationCenter::observerCount(const std::string& name) const {
  std::lock_guard lock(mutex_);
  return static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(),
                                           [&](const auto& e) { return e->name == name; }));
}

}  // namespace base
