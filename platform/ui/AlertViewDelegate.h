#pragma once

namespace ui {

class AlertView;

// Hears which button of an alert was pressed; every method is optional. Not owned by the
// alert: a delegate that goes away while its alert is shown is forgotten by it.
class AlertViewDelegate {
 public:
  virtual ~AlertViewDelegate();
  virtual void clickedButtonAtIndex(AlertView&, int /*buttonIndex*/) {}
  virtual void willDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) {}
  virtual void didDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) {}
};

}  // namespace ui
