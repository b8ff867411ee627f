#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Localization.h"
#include "platform/store/Plist.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewController.h"
#include "sharing/core/SHKError.h"

class SHKItem;

// The sharing framework's shared services: its fixed configuration, the favourites per share
// type, the share services' credentials in the keychain, the registry of the services this
// program has, the network check, errors and the two form encodings. The one instance, the
// current helper, presents the framework's screens modally over the application's screen, one at
// a time: a screen asked for while another is up waits until that one is gone. Main thread only
// (the settings and the keychain may be used from any thread).
class SHK {
 public:
  // Fixed configuration.
  static constexpr const char* kModalPresentationStyle = "UIModalPresentationFormSheet";
  static constexpr const char* kModalTransitionStyle = "UIModalTransitionStyleCoverVertical";
  static constexpr const char* kBarStyle = "UIBarStyleDefault";
  static constexpr size_t kMaxFavCount = 3;
  static constexpr const char* kMyAppName = "My App Name";
  static constexpr const char* kMyAppVersion = "0.2.1";
  static constexpr const char* kMyAppURL = "http://example.com";
  static constexpr const char* kAuthPrefix = "SHK_AUTH_";
  static constexpr const char* kFavsPrefix = "SHK_FAVS_";
  static constexpr const char* kExcludedKey = "SHKExcluded";
  static constexpr const char* kOfflineQueueFolder = "SHK";
  static constexpr const char* kOfflineQueueListFile = "SHKOfflineQueue.plist";
  static constexpr const char* kSharersFile = "SHKSharers.plist";
  // Where the registry is looked up among the program's data files.
  static constexpr const char* kSharersResource = "sharing/SHKSharers.plist";
  // Delay before a screen that waited for the previous one is shown.
  static constexpr double kPendingShowDelay = 0.02;

  // Queues a share for later; true when it was queued. Set by the offline queue.
  using OfflineQueueAdder = std::function<bool(const SHKItem& item, const std::string& sharerId)>;

  static SHK& currentHelper();
  static void setRootViewController(ui::ViewController* controller);
  // Whether the internet can be reached now.
  static bool connected();

  // Class names of the favourite services of a share type, most recent first; nothing for a
  // type without defaults. Excluded services are left out (and left out of the stored list).
  static std::optional<std::vector<std::string>> favoriteSharersForType(int32_t type);
  // Stores the list; nothing removes the key.
  static void setFavorites(const std::optional<std::vector<std::string>>& favorites, int32_t type);
  // Moves (or adds) a service to the front, keeping at most three.
  static void pushOnFavorites(const std::string& sharerId, int32_t type);
  static void setUserExclusions(std::optional<store::Plist> exclusions);
  static std::optional<store::Plist> getUserExclusions();
  // The names the user switched off: the members of an array, the keys of a dictionary.
  static std::vector<std::string> excludedSharers();

  // Credentials: keychain service "SHK_AUTH_" + sharer id, account = the form field's key.
  static void setAuthValue(const std::string& value, const std::string& key,
                           const std::string& sharerId);
  static std::optional<std::string> getAuthValueForKey(const std::string& key,
                                                       const std::string& sharerId);
  static void removeAuthValueForKey(const std::string& key, const std::string& sharerId);

  // The registry read once from the program's data; nothing when it is missing or is no
  // dictionary (logged once).
  static const std::optional<store::Plist>& sharersDictionary();
  // The class names of the registry's "services" or "actions" array (strings only).
  static std::vector<std::string> registeredSharers(const std::string& list);
  // Reads the registry again from `path` (tests and the sandbox); empty: the program's data.
  static void reloadSharersDictionary(const std::string& path = {});

  // Logs a service out by class name; an unknown name does nothing.
  static void logoutOfService(const std::string& sharerId);
  // Every service of the registry's "services".
  static void logoutOfAll();

  // The configured style names as values.
  static ui::ModalPresentationStyle modalPresentationStyle(
      std::string_view name = kModalPresentationStyle);
  static ui::ModalTransitionStyle modalTransitionStyle(
      std::string_view name = kModalTransitionStyle);
  // 0 default, 1 black opaque, 2 black translucent.
  static int barStyle(std::string_view name = kBarStyle);

  // An error of domain "sharing", code 1, whose description is the localized `key` with the
  // arguments filled in (arguments are never formats).
  template <typename... Args>
  static SHKError error(std::string_view key, const Args&... args) {
    return SHKError{SHKError::kDomain, SHKError::kCode, base::localized(key, args...)};
  }

  // Form-value encoding: "&amp;" becomes "&", then every byte but the unreserved ones and
  // "=/?:" is escaped as UTF-8 ("+", "#" and "%" too), then "&" becomes "%26". Nothing gives "".
  static std::string encodeFormValue(const std::optional<std::string>& text);
  // An address as one component: everything but letters, digits and "-._~" is escaped.
  static std::string encodeURL(const std::optional<std::string>& absoluteUrl);
  static std::string flattenNil(const std::optional<std::string>& text) {
    return text.value_or("");
  }

  static void setOfflineQueueAdder(OfflineQueueAdder adder);
  // Queues the share; false when no queue is set up or it did not take it.
  static bool addToOfflineQueue(const SHKItem& item, const std::string& sharerId);

  // Presentation. `gone` runs once the controller has left the helper: after its dismissal,
  // when a later request replaces it while it waits, or (on the next turn of the loop) when
  // there is no root controller to present from. Returns whether it is shown or waiting.
  bool showViewController(std::shared_ptr<ui::ViewController> controller,
                          std::function<void()> gone = {});
  void hideCurrentViewController() { hideCurrentViewControllerAnimated(true); }
  void hideCurrentViewControllerAnimated(bool animated);
  // Sent by every presented screen once its view has disappeared.
  void viewWasDismissed();
  void showPendingView();
  ui::ViewController* getTopViewController();
  // Whether a screen can be shown now: false without a window (a share run from the terminal
  // without one).
  bool canShowViewController();

  ui::ViewController* rootViewController() const { return rootViewController_; }
  const std::shared_ptr<ui::ViewController>& currentView() const { return currentView_; }
  const std::shared_ptr<ui::ViewController>& pendingView() const { return pendingView_; }
  bool isDismissingView() const { return isDismissingView_; }

  // Back to idle with no root controller, dropping what is shown or waiting (tests).
  void reset();

 private:
  SHK() = default;
  void findRootViewController();

  ui::ViewController* rootViewController_ = nullptr;
  std::weak_ptr<char> rootAlive_;
  std::shared_ptr<ui::ViewController> currentView_;
  std::function<void()> currentGone_;
  std::shared_ptr<ui::ViewController> pendingView_;
  std::function<void()> pendingGone_;
  bool isDismissingView_ = false;
  std::uint64_t pendingTimer_ = 0;
};
