#include "sharing/core/SHK.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/base/DataDir.h"
#include "platform/base/Log.h"
#include "platform/base/RunLoop.h"
#include "platform/net/Url.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "sharing/core/SHKSharer.h"
#include "sharing/core/helpers/KeychainUtils.h"
#include "sharing/core/helpers/Reachability.h"

namespace {

std::string favoritesKey(int32_t type) {
  return SHK::kFavsPrefix + std::to_string(type);
}

std::optional<std::vector<std::string>> defaultFavorites(int32_t type) {
  switch (type) {
    case 1:
      return std::vector<std::string>{"SHKTwitter", "SHKFacebook", "SHKReadItLater"};
    case 2:
      return std::vector<std::string>{"SHKMail", "SHKTwitter", "SHKFacebook"};
    case 3:
      return std::vector<std::string>{"SHKMail", "SHKFacebook", "SHKCopy"};
    case 4:
      return std::vector<std::string>{"SHKMail"};
    default:
      return std::nullopt;
  }
}

// The string members of a stored array; nothing when the value is no array.
std::optional<std::vector<std::string>> storedNames(const std::string& key) {
  auto value = store::UserDefaults::standard().objectForKey(key);
  if (!value || value->type() != store::PlistType::Array) return std::nullopt;
  std::vector<std::string> names;
  store::PlistView array = value->view();
  for (size_t i = 0; i < array.size(); ++i) {
    if (auto name = array.at(i).asString()) names.push_back(*name);
  }
  return names;
}

struct Registry {
  std::mutex mutex;
  bool loaded = false;
  std::string path;
  std::optional<store::Plist> dictionary;
  SHK::OfflineQueueAdder offlineQueue;
};

Registry& registry() {
  static Registry* r = new Registry;
  return *r;
}

std::optional<store::Plist> readRegistry(const std::string& path) {
  if (path.empty()) {
    base::log("SHKSharers.plist: not found among the program's data; no share services");
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  auto plist = store::Plist::fromBytes(bytes);
  if (!in.good() && !in.eof()) plist.reset();
  if (!plist || plist->type() != store::PlistType::Dictionary) {
    base::log("SHKSharers.plist: " + path + " is no property-list dictionary; no share services");
    return std::nullopt;
  }
  return plist;
}

// Every byte but the unreserved characters and the reserved ones a form value may carry
// literally becomes %XX. "%", "+" and "#" are escaped too: a server reads "+" as a blank and
// "#" ends the address.
std::string escapeFormValue(std::string_view text) {
  static constexpr std::string_view kKept = "-._~:/?[]@!$&'()*,;=";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
        (c != 0 && kKept.find(char(c)) != std::string_view::npos)) {
      out += char(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  std::string out;
  size_t start = 0;
  for (size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
    out.append(text, start, at - start);
    out += to;
  }
  out.append(text, start);
  return out;
}

}  // namespace

SHK& SHK::currentHelper() {
  static SHK* helper = new SHK;
  return *helper;
}

void SHK::setRootViewController(ui::ViewController* controller) {
  SHK& helper = currentHelper();
  helper.rootViewController_ = controller;
  helper.rootAlive_ = controller ? controller->lifetime() : std::weak_ptr<char>();
}

bool SHK::connected() {
  auto reachability = Reachability::reachabilityForInternetConnection();
  return reachability && reachability->currentReachabilityStatus() != NotReachable;
}

std::optional<std::vector<std::string>> SHK::favoriteSharersForType(int32_t type) {
  std::optional<std::vector<std::string>> favorites = storedNames(favoritesKey(type));
  if (!favorites) {
    favorites = defaultFavorites(type);
    setFavorites(favorites, type);
  }
  if (!store::UserDefaults::standard().objectForKey(kExcludedKey)) return favorites;
  if (!favorites) return favorites;
  std::vector<std::string> excluded = excludedSharers();
  std::erase_if(*favorites, [&](const std::string& name) {
    return std::find(excluded.begin(), excluded.end(), name) != excluded.end();
  });
  setFavorites(favorites, type);
  return favorites;
}

void SHK::setFavorites(const std::optional<std::vector<std::string>>& favorites, int32_t type) {
  auto& defaults = store::UserDefaults::standard();
  if (favorites) {
    // Every write reaches the disk; a share with the favourite already in front changes nothing.
    auto list = store::Plist::stringArray(*favorites);
    if (defaults.objectForKey(favoritesKey(type)) == list) return;
    defaults.setObject(std::move(list), favoritesKey(type));
  } else {
    defaults.removeObjectForKey(favoritesKey(type));
  }
}

void SHK::pushOnFavorites(const std::string& sharerId, int32_t type) {
  std::vector<std::string> favorites =
      favoriteSharersForType(type).value_or(std::vector<std::string>{});
  std::erase(favorites, sharerId);
  favorites.insert(favorites.begin(), sharerId);
  if (favorites.size() > kMaxFavCount) favorites.resize(kMaxFavCount);
  setFavorites(favorites, type);
}

void SHK::setUserExclusions(std::optional<store::Plist> exclusions) {
  auto& defaults = store::UserDefaults::standard();
  std::string key = std::string(kFavsPrefix) + "Exclusions";
  if (exclusions) {
    defaults.setObject(std::move(*exclusions), key);
  } else {
    defaults.removeObjectForKey(key);
  }
}

std::optional<store::Plist> SHK::getUserExclusions() {
  return store::UserDefaults::standard().objectForKey(std::string(kFavsPrefix) + "Exclusions");
}

std::vector<std::string> SHK::excludedSharers() {
  std::vector<std::string> names;
  auto value = store::UserDefaults::standard().objectForKey(kExcludedKey);
  if (!value) return names;
  store::PlistView view = value->view();
  if (value->type() == store::PlistType::Array) {
    for (size_t i = 0; i < view.size(); ++i) {
      if (auto name = view.at(i).asString()) names.push_back(*name);
    }
  } else if (value->type() == store::PlistType::Dictionary) {
    for (const auto& [key, ignored] : view.entries()) names.push_back(key);
  }
  return names;
}

void SHK::setAuthValue(const std::string& value, const std::string& key,
                       const std::string& sharerId) {
  KeychainUtils::storeUsername(key, value, kAuthPrefix + sharerId, true, nullptr);
}

std::optional<std::string> SHK::getAuthValueForKey(const std::string& key,
                                                   const std::string& sharerId) {
  return KeychainUtils::getPasswordForUsername(key, kAuthPrefix + sharerId, nullptr);
}

void SHK::removeAuthValueForKey(const std::string& key, const std::string& sharerId) {
  KeychainUtils::deleteItemForUsername(key, kAuthPrefix + sharerId, nullptr);
}

const std::optional<store::Plist>& SHK::sharersDictionary() {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (!r.loaded) {
    r.loaded = true;
    r.dictionary =
        readRegistry(r.path.empty() ? base::dataFile(kSharersResource).string() : r.path);
  }
  return r.dictionary;
}

void SHK::reloadSharersDictionary(const std::string& path) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.loaded = false;
  r.path = path;
  r.dictionary.reset();
}

std::vector<std::string> SHK::registeredSharers(const std::string& list) {
  std::vector<std::string> names;
  const auto& dictionary = sharersDictionary();
  if (!dictionary) return names;
  store::PlistView array = dictionary->view().get(list);
  if (!array || array.type() != store::PlistType::Array) return names;
  for (size_t i = 0; i < array.size(); ++i) {
    if (auto name = array.at(i).asString()) names.push_back(*name);
  }
  return names;
}

void SHK::logoutOfService(const std::string& sharerId) {
  if (auto sharer = SHKSharer::create(sharerId)) sharer->logout();
}

void SHK::logoutOfAll() {
  for (const auto& name : registeredSharers("services")) logoutOfService(name);
}

ui::ModalPresentationStyle SHK::modalPresentationStyle(std::string_view name) {
  if (name == "UIModalPresentationFullScreen") return ui::ModalPresentationStyle::FullScreen;
  if (name == "UIModalPresentationPageSheet") return ui::ModalPresentationStyle::PageSheet;
  if (name == "UIModalPresentationFormSheet") return ui::ModalPresentationStyle::FormSheet;
  return ui::ModalPresentationStyle::CurrentContext;
}

ui::ModalTransitionStyle SHK::modalTransitionStyle(std::string_view name) {
  if (name == "UIModalTransitionStyleFlipHorizontal")
    return ui::ModalTransitionStyle::FlipHorizontal;
  if (name == "UIModalTransitionStyleCrossDissolve") return ui::ModalTransitionStyle::CrossDissolve;
  if (name == "UIModalTransitionStylePartialCurl") return ui::ModalTransitionStyle::PartialCurl;
  return ui::ModalTransitionStyle::CoverVertical;
}

int SHK::barStyle(std::string_view name) {
  if (name == "UIBarStyleBlack" || name == "UIBarStyleBlackOpaque") return 1;
  if (name == "UIBarStyleBlackTranslucent") return 2;
  return 0;
}

std::string SHK::encodeFormValue(const std::optional<std::string>& text) {
  if (!text) return "";
  return replaceAll(escapeFormValue(replaceAll(*text, "&amp;", "&")), "&", "%26");
}

std::string SHK::encodeURL(const std::optional<std::string>& absoluteUrl) {
  if (!absoluteUrl) return "";
  return net::escapeComponent(*absoluteUrl);
}

void SHK::setOfflineQueueAdder(OfflineQueueAdder adder) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.offlineQueue = std::move(adder);
}

bool SHK::addToOfflineQueue(const SHKItem& item, const std::string& sharerId) {
  OfflineQueueAdder adder;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    adder = r.offlineQueue;
  }
  if (!adder) {
    base::log("Offline queue: not available; the share is not kept");
    return false;
  }
  return adder(item, sharerId);
}

// The key window's first subview belongs to the application's root controller.
void SHK::findRootViewController() {
  ui::Window* window = ui::Application::shared().keyWindow();
  if (!window || window->subviews().empty()) return;
  if (ui::ViewController* controller = window->subviews().front()->viewController()) {
    setRootViewController(controller);
  }
}

ui::ViewController* SHK::getTopViewController() {
  if (rootViewController_ && rootAlive_.expired()) rootViewController_ = nullptr;
  ui::ViewController* top = rootViewController_;
  while (top && top->modalViewController()) top = top->modalViewController();
  return top;
}

bool SHK::canShowViewController() {
  if (rootViewController_ && rootAlive_.expired()) rootViewController_ = nullptr;
  if (!rootViewController_) findRootViewController();
  return getTopViewController() != nullptr;
}

bool SHK::showViewController(std::shared_ptr<ui::ViewController> controller,
                             std::function<void()> gone) {
  if (!controller) return false;
  ui::ViewController* top = canShowViewController() ? getTopViewController() : nullptr;
  if (!top) {
    base::log("SHK: no root view controller to present from");
    if (gone) base::RunLoop::main().performAfter(0, std::move(gone));
    return false;
  }

  if (currentView_) {
    if (pendingGone_) base::RunLoop::main().performAfter(0, std::move(pendingGone_));
    pendingView_ = std::move(controller);
    pendingGone_ = std::move(gone);
    if (!isDismissingView_) {
      if (ui::ViewController* parent = currentView_->parentViewController()) {
        isDismissingView_ = true;
        parent->dismissModalViewController(true);
      }
    }
    return true;
  }

  auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(controller);
  if (!navigation) navigation = std::make_shared<ui::NavigationController>(controller);
  navigation->setModalPresentationStyle(modalPresentationStyle());
  navigation->setModalTransitionStyle(modalTransitionStyle());
  currentView_ = navigation;
  currentGone_ = std::move(gone);
  pendingView_.reset();
  pendingGone_ = nullptr;
  top->presentModalViewController(navigation, true);
  navigation->navigationBar().setBarStyle(barStyle() == 0 ? ui::BarStyle::Default
                                                          : ui::BarStyle::Black);
  return true;
}

void SHK::hideCurrentViewControllerAnimated(bool animated) {
  if (isDismissingView_ || !currentView_) return;
  if (ui::ViewController* parent = currentView_->parentViewController()) {
    isDismissingView_ = true;
    parent->dismissModalViewController(animated);
    return;
  }
  currentView_.reset();
  if (auto gone = std::move(currentGone_)) gone();
}

void SHK::viewWasDismissed() {
  // A screen inside another (a form inside a service) reports the same dismissal again.
  if (!currentView_ && !isDismissingView_) return;
  isDismissingView_ = false;
  currentView_.reset();
  if (pendingView_) {
    base::RunLoop::main().cancel(pendingTimer_);
    pendingTimer_ = base::RunLoop::main().performAfter(kPendingShowDelay, [this] {
      pendingTimer_ = 0;
      showPendingView();
    });
  }
  if (auto gone = std::move(currentGone_)) gone();
}

void SHK::showPendingView() {
  if (!pendingView_) return;
  auto controller = std::move(pendingView_);
  auto gone = std::move(pendingGone_);
  pendingView_.reset();
  pendingGone_ = nullptr;
  showViewController(std::move(controller), std::move(gone));
}

void SHK::reset() {
  base::RunLoop::main().cancel(pendingTimer_);
  pendingTimer_ = 0;
  rootViewController_ = nullptr;
  rootAlive_.reset();
  currentView_.reset();
  pendingView_.reset();
  currentGone_ = nullptr;
  pendingGone_ = nullptr;
  isDismissingView_ = false;
}
