#include "platform/ui/TableViewCellControl.h"

#include "platform/graphics/Font.h"
#include "platform/graphics/Painter.h"
#include "platform/graphics/TextStyle.h"

namespace ui {

using graphics::Color;
using graphics::Point;
using graphics::Rect;

TableViewCellControl::TableViewCellControl(Kind kind, Rect frame) : View(frame), kind_(kind) {
  setUserInteractionEnabled(false);
}

void TableViewCellControl::setTurned(bool turned) {
  turned_ = turned;
}

void TableViewCellControl::draw(graphics::Painter& painter) const {
  View::draw(painter);
  Rect b = bounds();
  Point c = b.center();
  switch (kind_) {
    case Kind::DisclosureIndicator: {
      Color gray = Color::rgb(128, 128, 128);
      painter.drawLine({c.x - 3, c.y - 5}, {c.x + 2, c.y}, gray, 3);
      painter.drawLine({c.x + 2, c.y}, {c.x - 3, c.y + 5}, gray, 3);
      break;
    }
    case Kind::DetailDisclosureButton: {
      painter.fillEllipse(Rect{c.x - 11, c.y - 11, 22, 22}, Color::rgb(36, 112, 216));
      painter.drawLine({c.x - 2, c.y - 5}, {c.x + 3, c.y}, Color::white(), 3);
      painter.drawLine({c.x + 3, c.y}, {c.x - 2, c.y + 5}, Color::white(), 3);
      break;
    }
    case Kind::Checkmark: {
      Color blue = Color::rgb(50, 79, 133);
      painter.drawLine({c.x - 6, c.y}, {c.x - 2, c.y + 5}, blue, 3);
      painter.drawLine({c.x - 2, c.y + 5}, {c.x + 7, c.y - 7}, blue, 3);
      break;
    }
    case Kind::Delete:
    case Kind::Insert: {
      Color fill = kind_ == Kind::Delete ? Color::rgb(226, 36, 36) : Color::rgb(50, 180, 60);
      painter.fillEllipse(Rect{c.x - 10, c.y - 10, 20, 20}, fill);
      if (turned_) {
        // Turned upright while its row asks to confirm the deletion.
        painter.drawLine({c.x, c.y - 5}, {c.x, c.y + 5}, Color::white(), 3);
        break;
      }
      painter.drawLine({c.x - 5, c.y}, {c.x + 5, c.y}, Color::white(), 3);
      if (kind_ == Kind::Insert)
        painter.drawLine({c.x, c.y - 5}, {c.x, c.y + 5}, Color::white(), 3);
      break;
    }
    case Kind::DeleteConfirmation: {
      painter.fillRoundedRect(b, 6, Color::rgb(204, 30, 30));
      graphics::TextStyle text;
      text.font = graphics::Font::boldSystem(15);
      text.color = Color::white();
      text.alignment = graphics::TextAlignment::Center;
      text.verticalAlignment = graphics::VerticalAlignment::Center;
      painter.drawText("Delete", b, text);
      break;
    }
    case Kind::Reorder: {
      Color gray = Color::rgb(160, 160, 160);
      for (double dy : {-5.0, 0.0, 5.0}) {
        painter.drawLine({c.x - 9, c.y + dy}, {c.x + 9, c.y + dy}, gray, 2);
      }
      break;
    }
  }
}

}  // namespace ui
