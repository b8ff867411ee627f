#pragma once
#include "platform/ui/View.h"

namespace ui {

// The bar at the bottom of a navigation controller's screen, 44 points high; action sheets
// can be shown from it.
class Toolbar : public View {
 public:
  static constexpr double kHeight = 44;

  explicit Toolbar(graphics::Rect frame = {});

  std::string_view className() const override { return "Toolbar"; }
  void draw(graphics::Painter& painter) const override;
};

}  // namespace ui
