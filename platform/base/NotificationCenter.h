#pragma once
#include <any>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace base {

struct Notification {
  std::string name;
  std::any object;    // the sender or a value ("landscape" carries the string "YES" or "NO")
  std::any userInfo;  // optional details

  // The object as a T, or nullptr when it holds something else.
  template <typename T>
  const T* objectAs() const {
    return std::any_cast<T>(&object);
  }
};

class NotificationCenter;

// Keeps an observation alive; destroying it (or calling reset) ends the observation.
class ObserverToken {
 public:
  ObserverToken() = default;
  ObserverToken(ObserverToken&& other) noexcept = default;
  ObserverToken& operator=(ObserverToken&& other) noexcept;
  ~ObserverToken();
  void reset();
  bool active() const { return entry_ != nullptr; }

 private:
  friend class NotificationCenter;
  struct Entry;
  ObserverToken(NotificationCenter* center, std::shared_ptr<Entry> entry)
      : center_(center), entry_(std::move(entry)) {}
  NotificationCenter* center_ = nullptr;
  std::shared_ptr<Entry> entry_;
};

// Synchronous notifications by name, delivered on the posting thread (the main loop) to the
// observers alive at the moment of each call, in the order they registered.
class NotificationCenter {
 public:
  using Handler = std::function<void(const Notification&)>;

  static NotificationCenter& defaultCenter();

  [[nodiscard]] ObserverToken addObserver(std::string name, Handler handler);
  void post(Notification notification);
  void post(std::string name, std::any object = {}) {
    post(Notification{std::move(name), std::move(object), {}});
  }
  size_t observerCount(const std::string& name) const;

 private:
  friend class ObserverToken;
  void remove(const std::shared_ptr<ObserverToken::Entry>& entry);

  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<ObserverToken::Entry>> entries_;
};

}  // namespace base
