#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/ModalPanel.h"

namespace ui {

class Toolbar;

// A column of choices that rises from the bottom of the screen: an optional title, then the
// destructive button (index 0 when given), the other buttons, and the cancel button last. Make
// it with std::make_shared; once shown, the alert stack keeps it alive until it is dismissed.
class ActionSheet : public ModalPanel {
 public:
  ActionSheet(std::string title, ActionSheetDelegate* delegate,
              std::optional<std::string> cancelButtonTitle = std::nullopt,
              std::optional<std::string> destructiveButtonTitle = std::nullopt,
              const std::vector<std::string>& otherButtonTitles = {});

  std::string_view className() const override { return "ActionSheet"; }

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  ActionSheetDelegate* delegate() const { return delegate_; }
  void setDelegate(ActionSheetDelegate* delegate) { delegate_ = delegate; }
  // -1 when there is none.
  int destructiveButtonIndex() const { return destructiveButtonIndex_; }
  void setDestructiveButtonIndex(int index) { destructiveButtonIndex_ = index; }

  // Shows the sheet over everything; `view` (or the toolbar) only says where it comes from.
  void showInView(View& view);
  void showFromToolbar(Toolbar& toolbar);
  // The view it was shown from, while shown.
  View* shownFrom() const { return shownFrom_; }
  void dismissWithClickedButtonIndex(int index, bool animated) override;

  void draw(graphics::Painter& painter) const override;

 protected:
  void clicked(int index) override;
  void layoutForScreen(graphics::Size screen) override;

 private:
  void forgetDelegate(const void* delegate) override;

  std::string title_;
  ActionSheetDelegate* delegate_;
  int destructiveButtonIndex_ = -1;
  View* shownFrom_ = nullptr;
};

}  // namespace ui
