#pragma once
#include <memory>

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Control.h"

namespace ui {

// The button a navigation bar makes for a titled bar button item: 30 points high, as wide as
// its title plus margins; bordered and done items in a rounded frame (done filled blue), plain
// ones as bare text. Tapping it presses the item.
class BarButton : public Control {
 public:
  static constexpr double kHeight = 30;
  static constexpr double kMinWidth = 48;

  explicit BarButton(std::shared_ptr<BarButtonItem> item);

  std::string_view className() const override { return "BarButton"; }
  const std::shared_ptr<BarButtonItem>& item() const { return item_; }

  // The width the title needs.
  double fittingWidth() const;
  void draw(graphics::Painter& painter) const override;

 private:
  std::shared_ptr<BarButtonItem> item_;
};

}  // namespace ui
