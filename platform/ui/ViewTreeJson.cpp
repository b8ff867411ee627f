#include "platform/ui/ViewTreeJson.h"

#include <fstream>

#include "platform/base/Log.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Switch.h"

namespace ui {
namespace {

using nlohmann::json;

constexpr std::pair<ControlState, const char*> kStates[] = {
    {ControlState::Normal, "normal"},
    {ControlState::Highlighted, "highlighted"},
    {ControlState::Disabled, "disabled"},
    {ControlState::Selected, "selected"},
};

json imageName(const graphics::ImagePtr& image) {
  if (!image) return nullptr;
  return image->name();
}

json font(const graphics::Font& f) {
  return {{"name", f.name()}, {"size", f.pointSize()}};
}

// `origin` is where the view's superview's bounds origin lies in root coordinates.
json describe(const View& view, graphics::Point origin) {
  const graphics::Rect frame = view.frame();
  const graphics::Point at{origin.x + frame.x(), origin.y + frame.y()};
  json j;
  j["class"] = view.className();
  j["frame"] = {{"x", at.x}, {"y", at.y}, {"width", frame.width()}, {"height", frame.height()}};
  j["tag"] = view.tag();
  j["hidden"] = view.isHidden();
  j["alpha"] = view.alpha();
  if (!view.transform().isIdentity()) {
    j["transform"] = {{"rotation", view.transform().rotation}, {"scale", view.transform().scale}};
  }
  if (auto* label = dynamic_cast<const Label*>(&view)) {
    j["text"] = label->text();
    j["font"] = font(label->font());
  }
  if (auto* button = dynamic_cast<const Button*>(&view)) {
    json titles = json::object(), images = json::object(), backgrounds = json::object();
    for (auto [state, name] : kStates) {
      // Only what was set for the state itself; the fallbacks would repeat "normal".
      if (state == ControlState::Normal ||
          button->title(state) != button->title(ControlState::Normal)) {
        titles[name] = button->title(state);
      }
      if (state == ControlState::Normal ||
          button->image(state) != button->image(ControlState::Normal)) {
        images[name] = imageName(button->image(state));
      }
      if (state == ControlState::Normal ||
          button->backgroundImage(state) != button->backgroundImage(ControlState::Normal)) {
        backgrounds[name] = imageName(button->backgroundImage(state));
      }
    }
    j["titles"] = titles;
    j["images"] = images;
    j["backgroundImages"] = backgrounds;
    j["font"] = font(button->titleLabel().font());
  }
  if (auto* bar = dynamic_cast<const NavigationBar*>(&view)) {
    j["barStyle"] = bar->barStyle() == BarStyle::Black ? "black" : "default";
    j["title"] = bar->item() ? json(bar->item()->title()) : json(nullptr);
  }
  if (auto* barButton = dynamic_cast<const BarButton*>(&view)) {
    constexpr const char* kStyles[] = {"plain", "bordered", "done"};
    j["title"] = barButton->item()->title();
    j["style"] = kStyles[static_cast<int>(barButton->item()->style())];
    j["enabled"] = barButton->isEnabled();
  }
  if (auto* toggle = dynamic_cast<const Switch*>(&view)) {
    j["on"] = toggle->isOn();
    j["enabled"] = toggle->isEnabled();
  }
  if (auto* imageView = dynamic_cast<const ImageView*>(&view)) {
    j["image"] = imageName(imageView->image());
    j["highlightedImage"] = imageName(imageView->highlightedImage());
  }
  if (auto* scroll = dynamic_cast<const ScrollView*>(&view)) {
    j["contentSize"] = {{"width", scroll->contentSize().width},
                        {"height", scroll->contentSize().height}};
    j["contentOffset"] = {{"x", scroll->contentOffset().x}, {"y", scroll->contentOffset().y}};
  }
  const graphics::Point inner{at.x - view.bounds().x(), at.y - view.bounds().y()};
  json subviews = json::array();
  for (const auto& subview : view.subviews()) subviews.push_back(describe(*subview, inner));
  j["subviews"] = std::move(subviews);
  return j;
}

}  // namespace

json ViewTreeJson::dump(const View& root) {
  return describe(root, {0, 0});
}

bool ViewTreeJson::writeFile(const View& root, const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  // Broken UTF-8 in a text is written with replacement characters instead of failing.
  out << dump(root).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  out.close();
  if (!out) {
    base::log("View tree not written: " + path.string());
    return false;
  }
  return true;
}

}  // namespace ui
