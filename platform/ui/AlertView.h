#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/ModalPanel.h"

namespace ui {

// A message with a title and buttons, shown over everything until a button is pressed. The
// cancel button, when given, comes first (index 0), then the other buttons in order. Make it
// with std::make_shared; once shown, the alert stack keeps it alive until it is dismissed.
class AlertView : public ModalPanel {
 public:
  static constexpr double kWidth = 284;

  AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
            std::optional<std::string> cancelButtonTitle,
            const std::vector<std::string>& otherButtonTitles = {});

  std::string_view className() const override { return "AlertView"; }

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  const std::string& message() const { return message_; }
  void setMessage(std::string message) { message_ = std::move(message); }
  AlertViewDelegate* delegate() const { return delegate_; }
  void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }
  // The first button that is not the cancel button, or -1.
  int firstOtherButtonIndex() const;

  // Shows the alert above everything, over any alert already shown.
  void show();
  void dismissWithClickedButtonIndex(int index, bool animated) override;

  void draw(graphics::Painter& painter) const override;

 protected:
  void clicked(int index) override;
  void layoutForScreen(graphics::Size screen) override;

 private:
  void forgetDelegate(const void* delegate) override;

  std::string title_;
  std::string message_;
  AlertViewDelegate* delegate_;
};

}  // namespace ui
