#include "platform/ui/BarButtonItem.h"

#include "platform/base/Localization.h"
#include "platform/ui/BarButton.h"

namespace ui {

std::shared_ptr<BarButtonItem> BarButtonItem::withTitle(std::string title, BarButtonItemStyle style,
                                                        Action action) {
  std::shared_ptr<BarButtonItem> item(new BarButtonItem);
  item->title_ = std::move(title);
  item->style_ = style;
  item->action_ = std::move(action);
  return item;
}

std::shared_ptr<BarButtonItem> BarButtonItem::system(BarButtonSystemItem kind, Action action) {
  switch (kind) {
    case BarButtonSystemItem::Done:
      return withTitle(base::localizedString("Done"), BarButtonItemStyle::Done, std::move(action));
    case BarButtonSystemItem::Cancel:
      return withTitle(base::localizedString("Cancel"), BarButtonItemStyle::Bordered,
                       std::move(action));
    case BarButtonSystemItem::Edit:
      break;
  }
  return withTitle(base::localizedString("Edit"), BarButtonItemStyle::Bordered, std::move(action));
}

std::shared_ptr<BarButtonItem> BarButtonItem::withCustomView(ViewPtr view) {
  std::shared_ptr<BarButtonItem> item(new BarButtonItem);
  item->customView_ = std::move(view);
  return item;
}

void BarButtonItem::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (auto button = button_.lock()) button->setEnabled(enabled);
}

bool BarButtonItem::press() {
  if (!enabled_ || !action_) return false;
  // The action may replace this item on its bar: keep it alive while it runs.
  Action action = action_;
  action();
  return true;
}

}  // namespace ui
