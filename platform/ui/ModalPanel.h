#pragma once
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace ui {

// A panel shown above everything that waits for the user to press one of its buttons: an alert
// or an action sheet. Shown panels are kept by the AlertStack; only the topmost one answers.
class ModalPanel : public View {
 public:
  explicit ModalPanel(graphics::Rect frame = {}) : View(frame) {}

  // Adds a button at the end; returns its index.
  int addButtonWithTitle(std::string title);
  int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
  // "" for an index out of range.
  std::string buttonTitleAtIndex(int index) const;
  // -1 when there is none.
  int cancelButtonIndex() const { return cancelButtonIndex_; }
  void setCancelButtonIndex(int index) { cancelButtonIndex_ = index; }

  // Whether the panel is on the alert stack.
  bool isVisible() const;
  // The user presses a button: the delegate hears of the click and the panel is dismissed with
  // that index. Only the topmost shown panel answers; false otherwise or for a bad index.
  bool pressButton(int index);
  // Takes the panel away; the delegate hears willDismiss and didDismiss with `index`.
  virtual void dismissWithClickedButtonIndex(int index, bool animated) = 0;

  // Tapping a button with the finger presses it.
  bool touchBegan(graphics::Point point) override;
  void touchEnded(graphics::Point point, bool inside) override;

 protected:
  // Puts the panel on the alert stack (laid out for the screen first).
  void present();
  // Takes it off again.
  void withdraw();
  virtual void clicked(int index) = 0;
  virtual void layoutForScreen(graphics::Size screen) = 0;
  // Where each button lies, in the panel's bounds, in index order.
  std::vector<graphics::Rect> buttonRects_;
  const std::vector<std::string>& buttons() const { return buttons_; }

 private:
  friend class AlertStack;
  // Called when the delegate object is destroyed while the panel is shown.
  virtual void forgetDelegate(const void* delegate) = 0;

  std::vector<std::string> buttons_;
  int cancelButtonIndex_ = -1;
  int touchedButton_ = -1;
};

}  // namespace ui
