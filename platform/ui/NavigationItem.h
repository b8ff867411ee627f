#pragma once
#include <memory>
#include <string>

#include "platform/ui/BarButtonItem.h"

namespace ui {

class NavigationBar;

// What a screen shows in the navigation bar while it is on top: a title and the left and right
// bar button items. Changes show at once on the bar showing the item.
class NavigationItem {
 public:
  NavigationItem() = default;
  ~NavigationItem();
  NavigationItem(const NavigationItem&) = delete;
  NavigationItem& operator=(const NavigationItem&) = delete;

  const std::string& title() const { return title_; }
  void setTitle(std::string title);
  const BarButtonItemPtr& leftBarButtonItem() const { return left_; }
  // `animated` is accepted for the callers' sake; the change is immediate.
  void setLeftBarButtonItem(BarButtonItemPtr item, bool animated = false);
  const BarButtonItemPtr& rightBarButtonItem() const { return right_; }
  void setRightBarButtonItem(BarButtonItemPtr item, bool animated = false);

 private:
  friend class NavigationBar;
  void changed();

  std::string title_;
  BarButtonItemPtr left_;
  BarButtonItemPtr right_;
  NavigationBar* bar_ = nullptr;
};

}  // namespace ui
