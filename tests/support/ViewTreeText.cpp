#include "tests/support/ViewTreeText.h"

#include <cstdio>

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

namespace testing_support {
namespace {

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string image(const graphics::ImagePtr& picture) {
  if (!picture) return "";
  return picture->name().empty() ? "picture" : picture->name();
}

std::string color(const graphics::Color& c) {
  char text[16];
  auto byte = [](double v) { return static_cast<int>(v * 255 + 0.5); };
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.red), byte(c.green), byte(c.blue));
  std::string out = text;
  if (c.alpha != 1) out += "/" + number(c.alpha);
  return out;
}

void describe(const ui::View& view, int level, int depth, std::string& out) {
  const graphics::Rect f = view.frame();
  out += std::string(2 * level, ' ') + std::string(view.className()) + " " + number(f.x()) + "," +
         number(f.y()) + " " + number(f.width()) + "x" + number(f.height());
  if (view.tag() != 0) out += " tag=" + std::to_string(view.tag());
  if (view.isHidden()) out += " hidden";
  if (view.alpha() != 1) out += " alpha=" + number(view.alpha());
  if (view.backgroundColor().alpha != 0) out += " bg=" + color(view.backgroundColor());
  if (auto* label = dynamic_cast<const ui::Label*>(&view)) {
    out += " \"" + label->text() + "\" " + label->font().name() + "/" +
           number(label->font().pointSize()) + " color=" + color(label->textColor());
    if (label->numberOfLines() != 1) out += " lines=" + std::to_string(label->numberOfLines());
  }
  if (auto* button = dynamic_cast<const ui::Button*>(&view)) {
    const std::string title = button->title(ui::ControlState::Normal);
    if (!title.empty()) out += " title=\"" + title + "\"";
    if (auto name = image(button->image(ui::ControlState::Normal)); !name.empty())
      out += " image=" + name;
    for (auto [state, key] : {std::pair{ui::ControlState::Normal, " back="},
                              std::pair{ui::ControlState::Highlighted, " back.highlighted="},
                              std::pair{ui::ControlState::Selected, " back.selected="}}) {
      const auto& back = button->backgroundImage(state);
      if (back && (state == ui::ControlState::Normal ||
                   back != button->backgroundImage(ui::ControlState::Normal)))
        out += key + image(back);
    }
    if (!button->isEnabled()) out += " disabled";
  }
  if (auto* picture = dynamic_cast<const ui::ImageView*>(&view)) {
    if (auto name = image(picture->image()); !name.empty()) out += " image=" + name;
  }
  if (auto* scroll = dynamic_cast<const ui::ScrollView*>(&view)) {
    out += " content=" + number(scroll->contentSize().width) + "x" +
           number(scroll->contentSize().height);
    if (scroll->contentOffset().x != 0 || scroll->contentOffset().y != 0)
      out +=
          " offset=" + number(scroll->contentOffset().x) + "," + number(scroll->contentOffset().y);
  }
  out += "\n";
  if (depth == 0) return;
  for (const auto& subview : view.subviews()) describe(*subview, level + 1, depth - 1, out);
}

}  // namespace

std::string ViewTreeText::dump(const ui::View& root, int depth) {
  std::string out;
  describe(root, 0, depth, out);
  return out;
}

}  // namespace testing_support
