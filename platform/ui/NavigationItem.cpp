#include "platform/ui/NavigationItem.h"

#include "platform/ui/NavigationBar.h"

namespace ui {

NavigationItem::~NavigationItem() {
  if (bar_) bar_->itemDestroyed(this);
}

void NavigationItem::setTitle(std::string title) {
  title_ = std::move(title);
  changed();
}

void NavigationItem::setLeftBarButtonItem(BarButtonItemPtr item, bool) {
  left_ = std::move(item);
  changed();
}

void NavigationItem::setRightBarButtonItem(BarButtonItemPtr item, bool) {
  right_ = std::move(item);
  changed();
}

void NavigationItem::changed() {
  if (bar_) bar_->rebuild();
}

}  // namespace ui
