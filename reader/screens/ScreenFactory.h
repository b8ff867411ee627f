#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reader/model/Item.h"
#include "reader/model/Service.h"

namespace ui {
class ViewController;
}

// Makes the screens that the home screen, the category lists and the common frame push, so that
// those need not know every screen class. The application fills the hooks at start-up; the
// landscape argument is the pushing screen's flag as "YES" or "NO". An empty hook makes nothing
// (the push is skipped).
struct ScreenFactory {
  using Screen = std::shared_ptr<ui::ViewController>;
  using Items = std::vector<ItemPtr>;

  // Lead reader: initWithData:withItemIndex:withLandscape:.
  std::function<Screen(const Items& items, int index, const std::string& landscape)> sapo;
  // Article reader: initWithData:withIndex:withLandscape:.
  std::function<Screen(const Items& items, int index, const std::string& landscape)> detail;
  // Saved stories: initWithItem:withLandscape:.
  std::function<Screen(const Items& items, const std::string& landscape)> bookmarkList;
  // Category list: initWithServices:withLandscape:.
  std::function<Screen(const std::vector<ServicePtr>& services, const std::string& landscape)>
      serviceList;
  // Sub-category list: initWithServices:withLandscape:.
  std::function<Screen(const std::vector<SubServicePtr>& subServices, const std::string& landscape)>
      subServiceList;
  // Category story list: initWithServices:withHeader:withLandscape:.
  std::function<Screen(const Items& items, const std::string& header, const std::string& landscape)>
      serviceDetail;

  static ScreenFactory& shared();
};
