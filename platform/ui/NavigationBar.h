#pragma once
#include <memory>

#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"

namespace ui {

// The bar's looks: blue-grey, or black.
enum class BarStyle { Default, Black };

// The 44-point bar at the top of a navigation controller's screen. It shows one navigation
// item: the left item 5 points from the left edge, the right item 5 points from the right
// edge, each centred vertically, and the title in bold white, centred on the bar when it fits
// between them, else filling the space between them, cut with an ellipsis.
class NavigationBar : public View {
 public:
  static constexpr double kHeight = 44;
  static constexpr double kMargin = 5;

  explicit NavigationBar(graphics::Rect frame = {});
  ~NavigationBar() override;

  std::string_view className() const override { return "NavigationBar"; }

  BarStyle barStyle() const { return style_; }
  void setBarStyle(BarStyle style) { style_ = style; }

  NavigationItem* item() const { return item_; }
  // Shows `item` (not owned: its owner clears it from the bar when it goes away).
  void setItem(NavigationItem* item);

  // What is shown, for the screens' tests: the views of the items and the title label.
  View* leftView() const { return leftView_.get(); }
  View* rightView() const { return rightView_.get(); }
  const Label& titleLabel() const { return *titleLabel_; }

  // Touches on the bar stop here rather than reaching the screen below it.
  bool touchBegan(graphics::Point) override { return true; }
  void draw(graphics::Painter& painter) const override;

 protected:
  void layoutSubviews() override;

 private:
  friend class NavigationItem;
  void rebuild();
  void itemDestroyed(const NavigationItem* item);
  ViewPtr viewFor(const BarButtonItemPtr& item);

  BarStyle style_ = BarStyle::Default;
  NavigationItem* item_ = nullptr;
  ViewPtr leftView_;
  ViewPtr rightView_;
  std::shared_ptr<Label> titleLabel_;
};

}  // namespace ui
