#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/base/NotificationCenter.h"
#include "platform/base/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

// The sharing framework's heads-up panel: a translucent rounded square in the middle of the key
// window with either a spinner and a message ("Saving to Twitter") or a large check mark and a
// message ("Saved!"). It fades in and out and stays upright when the device turns. One panel
// exists at a time. Main thread only.
class SHKActivityIndicator : public ui::View {
 public:
  static constexpr double kSize = 160;
  static constexpr double kFadeInSeconds = 0.3;
  static constexpr double kPersistSeconds = 0.1;
  static constexpr double kFadeOutSeconds = 0.4;
  static constexpr double kHideDelaySeconds = 0.6;
  static constexpr double kRotationSeconds = 0.3;
  // The check mark of a completed message, and the face that has it.
  static constexpr const char* kCheckMark = "\u2713";
  static constexpr const char* kCheckMarkFont = "DejaVuSans-Bold";

  // The panel, made (centred on the key window, still invisible) when there is none.
  static std::shared_ptr<SHKActivityIndicator> currentIndicator();
  // Whether a panel exists now (tests).
  static bool exists();

  SHKActivityIndicator();
  std::string_view className() const override { return "SHKActivityIndicator"; }

  // A spinner and `message`; stays until the next message or hide().
  void displayActivity(const std::optional<std::string>& message);
  // The check mark and `message`; hides itself 0.6 seconds later.
  void displayCompleted(const std::optional<std::string>& message);

  // Set the text of the big centre label or the bottom label, making it when needed; nothing
  // takes the label off the panel, so no stale text stays on it.
  void setCenterMessage(const std::optional<std::string>& message);
  void setSubMessage(const std::optional<std::string>& message);
  void showSpinner();

  void show();
  void persist();
  void hide();
  void hideAfterDelay();
  // After a fade-out: leaves the window and is forgotten, unless a new message came meanwhile.
  void hidden();

  // Turns to match the device (the window's rule for views on it); over 0.3 seconds when
  // animated.
  void setProperRotation(bool animated = true);

  ui::Label* centerMessageLabel() const { return centerMessageLabel_.get(); }
  ui::Label* subMessageLabel() const { return subMessageLabel_.get(); }
  ui::ActivityIndicatorView* spinner() const { return spinner_.get(); }

  void draw(graphics::Painter& painter) const override;

 private:
  std::shared_ptr<ui::Label> makeLabel(const graphics::Rect& frame, const graphics::Font& font);
  void showOrPersist();

  std::shared_ptr<ui::Label> centerMessageLabel_;
  std::shared_ptr<ui::Label> subMessageLabel_;
  std::shared_ptr<ui::ActivityIndicatorView> spinner_;
  base::Timer hideTimer_;
  base::ObserverToken orientationObserver_;
};
