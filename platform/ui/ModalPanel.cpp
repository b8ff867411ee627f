#include "platform/ui/ModalPanel.h"

#include "platform/ui/AlertStack.h"

namespace ui {

int ModalPanel::addButtonWithTitle(std::string title) {
  buttons_.push_back(std::move(title));
  return numberOfButtons() - 1;
}

std::string ModalPanel::buttonTitleAtIndex(int index) const {
  if (index < 0 || index >= numberOfButtons()) return {};
  return buttons_[index];
}

bool ModalPanel::isVisible() const {
  return AlertStack::shared().contains(this);
}

bool ModalPanel::pressButton(int index) {
  if (AlertStack::shared().top() != this || index < 0 || index >= numberOfButtons()) return false;
  // The delegate may drop its last reference to the panel; keep it alive to the end.
  auto keep = std::static_pointer_cast<ModalPanel>(shared_from_this());
  clicked(index);
  if (isVisible()) dismissWithClickedButtonIndex(index, true);
  return true;
}

void ModalPanel::present() {
  layoutForScreen(AlertStack::shared().screenSize());
  AlertStack::shared().push(std::static_pointer_cast<ModalPanel>(shared_from_this()));
}

void ModalPanel::withdraw() {
  AlertStack::shared().remove(this);
}

bool ModalPanel::touchBegan(graphics::Point point) {
  touchedButton_ = -1;
  for (size_t i = 0; i < buttonRects_.size(); ++i) {
    if (buttonRects_[i].contains(point)) touchedButton_ = static_cast<int>(i);
  }
  // The panel swallows every touch so nothing under it is reached.
  return true;
}

void ModalPanel::touchEnded(graphics::Point point, bool inside) {
  int button = touchedButton_;
  touchedButton_ = -1;
  if (!inside || button < 0 || !buttonRects_[button].contains(point)) return;
  pressButton(button);
}

}  // namespace ui
