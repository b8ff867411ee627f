#include "platform/ui/AlertStack.h"

#include <algorithm>

#include "platform/ui/Application.h"
#include "platform/ui/ModalPanel.h"
#include "platform/ui/Window.h"

namespace ui {

AlertStack& AlertStack::shared() {
  static AlertStack stack;
  return stack;
}

bool AlertStack::contains(const ModalPanel* panel) const {
  return std::any_of(panels_.begin(), panels_.end(),
                     [panel](const auto& p) { return p.get() == panel; });
}

graphics::Size AlertStack::screenSize() const {
  if (Window* window = Application::shared().keyWindow()) return window->bounds().size;
  return {320, 480};
}

void AlertStack::push(std::shared_ptr<ModalPanel> panel) {
  if (!panel || contains(panel.get())) return;
  if (Window* window = Application::shared().keyWindow()) window->addSubview(panel);
  panels_.push_back(std::move(panel));
}

void AlertStack::remove(const ModalPanel* panel) {
  auto it = std::find_if(panels_.begin(), panels_.end(),
                         [panel](const auto& p) { return p.get() == panel; });
  if (it == panels_.end()) return;
  std::shared_ptr<ModalPanel> keep = std::move(*it);
  panels_.erase(it);
  keep->removeFromSuperview();
}

void AlertStack::forgetDelegate(const void* delegate) {
  for (auto& panel : panels_) panel->forgetDelegate(delegate);
}

void AlertStack::reset() {
  auto panels = std::move(panels_);
  panels_.clear();
  for (auto& panel : panels) panel->removeFromSuperview();
}

}  // namespace ui
