#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace ui {

class BarButton;

enum class BarButtonItemStyle { Plain, Bordered, Done };
// The bar's standard items, titled by the platform (in the user's language).
enum class BarButtonSystemItem { Done, Cancel, Edit };

// A button of a navigation bar: a title in one of three looks, a standard item, or a view of
// the screen's own (a spinner) shown as it is. Pressing it runs its action unless disabled.
class BarButtonItem {
 public:
  using Action = std::function<void()>;

  static std::shared_ptr<BarButtonItem> withTitle(std::string title, BarButtonItemStyle style,
                                                  Action action);
  // Cancel and Edit are bordered, Done is in the done style.
  static std::shared_ptr<BarButtonItem> system(BarButtonSystemItem item, Action action);
  static std::shared_ptr<BarButtonItem> withCustomView(ViewPtr view);

  const std::string& title() const { return title_; }
  BarButtonItemStyle style() const { return style_; }
  const ViewPtr& customView() const { return customView_; }

  bool isEnabled() const { return enabled_; }
  // Also greys out the button on screen.
  void setEnabled(bool enabled);

  // Runs the action (the bar's button does this when tapped); false when disabled.
  bool press();

 private:
  friend class NavigationBar;
  BarButtonItem() = default;

  std::string title_;
  BarButtonItemStyle style_ = BarButtonItemStyle::Plain;
  ViewPtr customView_;
  Action action_;
  bool enabled_ = true;
  // The button showing this item, while a bar shows it.
  std::weak_ptr<BarButton> button_;
};

using BarButtonItemPtr = std::shared_ptr<BarButtonItem>;

}  // namespace ui
