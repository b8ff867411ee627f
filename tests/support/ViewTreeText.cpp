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
  return !picture ? "" : picture->name().empty() ? "picture" : picture->name();
}

std::string color(const graphics::Color& c) {
  char text[16];
  auto byte = [](double v) { return static_cast<int>(v * 255 + 0.5); };
  std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(c.red), byte(c.green), byte(c.blue));
  return text + (c.alpha != 1 ? "/" + number(c.alpha) : "");
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
    using S = ui::ControlState;
    if (auto title = button->title(S::Normal); !title.empty()) out += " title=\"" + title + "\"";
    if (auto name = image(button->image(S::Normal)); !name.empty()) out += " image=" + name;
    const auto& normal = button->backgroundImage(S::Normal);
    if (normal) out += " back=" + image(normal);
    for (auto [state, key] :
         {std::pair{S::Highlighted, " back.highlighted="}, {S::Selected, " back.selected="}})
      if (const auto& back = button->backgroundImage(state); back && back != normal)
        out += key + image(back);
    if (!button->isEnabled()) out += " disabled";
  }
  if (auto* picture = dynamic_cast<const ui::ImageView*>(&view); picture && picture->image())
    out += " image=" + image(picture->image());
  if (auto* scroll = dynamic_cast<const ui::ScrollView*>(&view)) {
    const auto size = scroll->contentSize();
    const auto offset = scroll->contentOffset();
    out += " content=" + number(size.width) + "x" + number(size.height);
    if (offset.x != 0 || offset.y != 0)
      out += " offset=" + number(offset.x) + "," + number(offset.y);
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
