#include "platform/ui/Toolbar.h"

#include "platform/graphics/Painter.h"

namespace ui {

Toolbar::Toolbar(graphics::Rect frame) : View(frame) {}

void Toolbar::draw(graphics::Painter& painter) const {
  View::draw(painter);
  painter.fillVerticalGradient(bounds(), graphics::Color::rgb(176, 188, 205),
                               graphics::Color::rgb(109, 132, 162));
}

}  // namespace ui
