#pragma once
#include <functional>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

// The state a control shows; per-state looks fall back to Normal.
enum class ControlState { Normal, Highlighted, Disabled, Selected };

// A view that turns touches into actions: touch down highlights it, lifting the finger inside
// it runs its touch-up-inside actions. A disabled control takes no touches.
class Control : public View {
 public:
  using Action = std::function<void()>;

  explicit Control(graphics::Rect frame = {}) : View(frame) {}

  std::string_view className() const override { return "Control"; }

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);
  bool isSelected() const { return selected_; }
  void setSelected(bool selected);
  // Disabled, else highlighted, else selected, else normal.
  ControlState state() const;

  // Adds an action run on touch-up-inside, after those added before it.
  void addTarget(Action action);
  void removeAllTargets() { actions_.clear(); }
  size_t targetCount() const { return actions_.size(); }
  void sendActionsForTouchUpInside();

  bool touchBegan(graphics::Point point) override;
  void touchMoved(graphics::Point point) override;
  void touchEnded(graphics::Point point, bool inside) override;
  void touchCancelled() override;

 protected:
  // Called after enabled, highlighted or selected changed.
  virtual void stateDidChange() {}

 private:
  bool enabled_ = true;
  bool highlighted_ = false;
  bool selected_ = false;
  std::vector<Action> actions_;
};

}  // namespace ui
