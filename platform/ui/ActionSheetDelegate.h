#pragma once

namespace ui {

class ActionSheet;

// Hears which button of an action sheet was pressed; every method is optional. Not owned by
// the sheet: a delegate that goes away while its sheet is shown is forgotten by it.
class ActionSheetDelegate {
 public:
  virtual ~ActionSheetDelegate();
  virtual void clickedButtonAtIndex(ActionSheet&, int /*buttonIndex*/) {}
  virtual void willDismissWithButtonIndex(ActionSheet&, int /*buttonIndex*/) {}
  virtual void didDismissWithButtonIndex(ActionSheet&, int /*buttonIndex*/) {}
};

}  // namespace ui
