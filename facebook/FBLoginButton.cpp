#include "facebook/FBLoginButton.h"

#include "facebook/FBLoginDialog.h"
#include "facebook/FBSession.h"
#include "platform/base/Localization.h"
#include "platform/graphics/Image.h"

namespace {

constexpr const char* kImageFolder = "FBDialog.bundle/images/";

}  // namespace

FBLoginButton::FBLoginButton(graphics::Rect frame, std::shared_ptr<FBSession> session)
    : Control(frame) {
  setBackgroundColor(graphics::Color::clear());
  imageView_ = std::make_shared<ui::ImageView>();
  imageView_->setContentMode(graphics::ContentMode::Center);
  addSubview(imageView_);
  setSession(session ? std::move(session) : FBSession::session());
  addTarget([this] { touchUpInside(); });
  updateImage();
  if (frame.size.width == 0 && frame.size.height == 0) {
    setFrame({frame.origin, sizeThatFits()});
  }
}

FBLoginButton::~FBLoginButton() {
  if (session_) session_->removeDelegate(this);
}

void FBLoginButton::setStyle(Style style) {
  style_ = style;
  updateImage();
}

void FBLoginButton::setSession(std::shared_ptr<FBSession> session) {
  if (session_) session_->removeDelegate(this);
  session_ = std::move(session);
  if (session_) session_->addDelegate(this);
  updateImage();
}

std::string FBLoginButton::buttonImageName() const {
  if (session_ && session_->isConnected()) return "logout.png";
  return style_ == Style::Normal ? "login.png" : "login2.png";
}

std::string FBLoginButton::buttonHighlightedImageName() const {
  if (session_ && session_->isConnected()) return "logout_down.png";
  return style_ == Style::Normal ? "login_down.png" : "login2_down.png";
}

std::string FBLoginButton::accessibilityLabel() const {
  return session_ && session_->isConnected() ? base::localized("Disconnect from Facebook")
                                             : base::localized("Connect to Facebook");
}

graphics::Size FBLoginButton::sizeThatFits() const {
  const graphics::ImagePtr& image = imageView_->image();
  return image ? image->size() : graphics::Size{};
}

void FBLoginButton::updateImage() {
  std::string name = isHighlighted() ? buttonHighlightedImageName() : buttonImageName();
  imageView_->setImage(graphics::Image::named(kImageFolder + name));
}

void FBLoginButton::layoutSubviews() {
  imageView_->setFrame(bounds());
}

void FBLoginButton::touchUpInside() {
  if (!session_) return;
  if (session_->isConnected()) {
    session_->logout();
  } else {
    std::make_shared<FBLoginDialog>(session_)->show();
  }
}

void FBLoginButton::sessionDidLogin(FBSession&, FBUid) {
  updateImage();
}

void FBLoginButton::sessionDidLogout(FBSession&) {
  updateImage();
}
