#pragma once
#include <map>
#include <memory>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Control.h"
#include "platform/ui/Label.h"

namespace ui {

// The custom-type button: a background image stretched over the bounds, an image and a title
// centred on it, each chosen for the current state (falling back to the normal state's), and a
// white glow in the middle while touched when showsTouchWhenHighlighted is on.
class Button : public Control {
 public:
  explicit Button(graphics::Rect frame = {});

  std::string_view className() const override { return "Button"; }

  void setImage(graphics::ImagePtr image, ControlState state = ControlState::Normal);
  graphics::ImagePtr image(ControlState state) const;
  void setBackgroundImage(graphics::ImagePtr image, ControlState state = ControlState::Normal);
  graphics::ImagePtr backgroundImage(ControlState state) const;
  void setTitle(std::string title, ControlState state = ControlState::Normal);
  std::string title(ControlState state) const;
  void setTitleColor(const graphics::Color& color, ControlState state = ControlState::Normal);
  graphics::Color titleColor(ControlState state) const;

  graphics::ImagePtr currentImage() const { return image(state()); }
  graphics::ImagePtr currentBackgroundImage() const { return backgroundImage(state()); }
  std::string currentTitle() const { return title(state()); }
  graphics::Color currentTitleColor() const { return titleColor(state()); }

  // Holds the title's font, alignment and line settings; its text and colour follow the state.
  // It is not a subview: the button draws the title itself.
  Label& titleLabel() { return *titleLabel_; }
  const Label& titleLabel() const { return *titleLabel_; }

  bool showsTouchWhenHighlighted() const { return showsTouch_; }
  void setShowsTouchWhenHighlighted(bool on) { showsTouch_ = on; }

  void draw(graphics::Painter& painter) const override;

 private:
  template <typename T>
  static const T* lookup(const std::map<ControlState, T>& values, ControlState state);

  std::map<ControlState, graphics::ImagePtr> images_;
  std::map<ControlState, graphics::ImagePtr> backgroundImages_;
  std::map<ControlState, std::string> titles_;
  std::map<ControlState, graphics::Color> titleColors_;
  std::shared_ptr<Label> titleLabel_;
  bool showsTouch_ = false;
};

}  // namespace ui
