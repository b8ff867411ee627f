#pragma once
#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace ui {

class ModalPanel;

// The alerts and action sheets on screen, oldest first. It keeps each shown panel alive until
// it is dismissed, lays it over the key window (on top of everything else) and lets only the
// newest answer, so a second alert shown over a first is answered before it.
class AlertStack {
 public:
  static AlertStack& shared();

  size_t count() const { return panels_.size(); }
  bool empty() const { return panels_.empty(); }
  // The panel that answers now, else nullptr.
  ModalPanel* top() const { return panels_.empty() ? nullptr : panels_.back().get(); }
  template <typename T>
  T* topAs() const {
    return dynamic_cast<T*>(top());
  }
  ModalPanel* at(size_t index) const { return panels_.at(index).get(); }
  bool contains(const ModalPanel* panel) const;

  // The screen size panels are laid out for: the key window's, else 320 × 480.
  graphics::Size screenSize() const;

  void push(std::shared_ptr<ModalPanel> panel);
  void remove(const ModalPanel* panel);
  // A delegate object is going away: shown panels stop reporting to it.
  void forgetDelegate(const void* delegate);
  // Drops every panel without telling anyone (between tests).
  void reset();

 private:
  std::vector<std::shared_ptr<ModalPanel>> panels_;
};

}  // namespace ui
