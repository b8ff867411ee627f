#pragma once
#include <memory>
#include <string>

#include "facebook/FBSessionDelegate.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"

class FBSession;

// A ready-made Facebook button: "Connect" (two looks, by style) while the session is not
// connected, showing the log-in panel when tapped, and "Log out" while it is, logging out.
// Its natural size is its image's; a zero frame is sized to fit.
class FBLoginButton : public ui::Control, public FBSessionDelegate {
 public:
  enum class Style { Normal = 0, Wide = 1 };

  // On the shared session when `session` is null.
  explicit FBLoginButton(graphics::Rect frame = {}, std::shared_ptr<FBSession> session = nullptr);
  ~FBLoginButton() override;

  std::string_view className() const override { return "FBLoginButton"; }

  Style style() const { return style_; }
  void setStyle(Style style);
  const std::shared_ptr<FBSession>& session() const { return session_; }
  void setSession(std::shared_ptr<FBSession> session);

  // The image's size.
  graphics::Size sizeThatFits() const;
  // Names of the images for the current state, under "FBDialog.bundle/images/".
  std::string buttonImageName() const;
  std::string buttonHighlightedImageName() const;
  // What a screen reader says: "Connect to Facebook" or "Disconnect from Facebook".
  std::string accessibilityLabel() const;

  const ui::ImageView& imageView() const { return *imageView_; }

  void sessionDidLogin(FBSession& session, FBUid uid) override;
  void sessionDidLogout(FBSession& session) override;

 protected:
  void stateDidChange() override { updateImage(); }
  void layoutSubviews() override;

 private:
  void touchUpInside();
  void updateImage();

  Style style_ = Style::Normal;
  std::shared_ptr<FBSession> session_;
  std::shared_ptr<ui::ImageView> imageView_;
};
