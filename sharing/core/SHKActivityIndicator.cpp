#include "sharing/core/SHKActivityIndicator.h"

#include <cmath>

#include "platform/graphics/Painter.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace {

constexpr double kCornerRadius = 10;
constexpr graphics::Color kPanelColor{0, 0, 0, 0.5};
constexpr graphics::Color kShadowColor{1.0 / 3, 1.0 / 3, 1.0 / 3, 1};
// Long messages shrink to fit the panel's width, down to this size.
constexpr double kMinimumFontSize = 6;

// Never destroyed: a panel still shown at exit must not outlive the animator it reports to.
std::shared_ptr<SHKActivityIndicator>& current() {
  static auto* indicator = new std::shared_ptr<SHKActivityIndicator>();
  return *indicator;
}

}  // namespace

std::shared_ptr<SHKActivityIndicator> SHKActivityIndicator::currentIndicator() {
  auto& indicator = current();
  if (indicator) return indicator;
  indicator = std::make_shared<SHKActivityIndicator>();
  graphics::Size window{320, 480};
  if (ui::Window* key = ui::Application::shared().keyWindow()) window = key->bounds().size;
  indicator->setFrame({std::round(window.width / 2 - kSize / 2),
                       std::round(window.height / 2 - kSize / 2), kSize, kSize});
  indicator->setProperRotation(false);
  std::weak_ptr<SHKActivityIndicator> weak = indicator;
  indicator->orientationObserver_ = base::NotificationCenter::defaultCenter().addObserver(
      ui::Application::kDeviceOrientationDidChangeNotification, [weak](const base::Notification&) {
        if (auto self = weak.lock()) self->setProperRotation();
      });
  return indicator;
}

bool SHKActivityIndicator::exists() {
  return current() != nullptr;
}

SHKActivityIndicator::SHKActivityIndicator() {
  setBackgroundColor(kPanelColor);
  setAlpha(0);
  setUserInteractionEnabled(false);
}

void SHKActivityIndicator::draw(graphics::Painter& painter) const {
  painter.fillRoundedRect(bounds(), kCornerRadius, backgroundColor());
}

std::shared_ptr<ui::Label> SHKActivityIndicator::makeLabel(const graphics::Rect& frame,
                                                           const graphics::Font& font) {
  auto label = std::make_shared<ui::Label>(frame);
  label->setBackgroundColor(graphics::Color::clear());
  label->setFont(font);
  label->setTextColor(graphics::Color::white());
  label->setTextAlignment(graphics::TextAlignment::Center);
  label->setShadowColor(kShadowColor);
  label->setShadowOffset({1, 1});
  label->setAdjustsFontSizeToFitWidth(true);
  label->setMinimumFontSize(kMinimumFontSize);
  addSubview(label);
  return label;
}

void SHKActivityIndicator::setCenterMessage(const std::optional<std::string>& message) {
  if (!message) {
    if (centerMessageLabel_) centerMessageLabel_->removeFromSuperview();
    centerMessageLabel_.reset();
    return;
  }
  double h = bounds().height(), w = bounds().width();
  if (!centerMessageLabel_) {
    centerMessageLabel_ = makeLabel({12, std::round(h / 2 - 25), w - 24, 50},
                                    graphics::Font::named(kCheckMarkFont, 40));
  }
  centerMessageLabel_->setText(*message);
}

void SHKActivityIndicator::setSubMessage(const std::optional<std::string>& message) {
  if (!message) {
    if (subMessageLabel_) subMessageLabel_->removeFromSuperview();
    subMessageLabel_.reset();
    return;
  }
  double h = bounds().height(), w = bounds().width();
  if (!subMessageLabel_) {
    subMessageLabel_ = makeLabel({12, h - 45, w - 24, 30}, graphics::Font::boldSystem(17));
  }
  subMessageLabel_->setText(*message);
}

void SHKActivityIndicator::showSpinner() {
  if (!spinner_) {
    spinner_ =
        std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
    graphics::Size own = spinner_->frame().size;
    spinner_->setFrame({std::round(bounds().width() / 2 - own.width / 2),
                        std::round(bounds().height() / 2 - own.height / 2), own.width, own.height});
  }
  addSubview(spinner_);
  spinner_->startAnimating();
}

void SHKActivityIndicator::displayActivity(const std::optional<std::string>& message) {
  setSubMessage(message);
  showSpinner();
  setCenterMessage(std::nullopt);
  showOrPersist();
}

void SHKActivityIndicator::displayCompleted(const std::optional<std::string>& message) {
  setCenterMessage(kCheckMark);
  setSubMessage(message);
  if (spinner_) {
    spinner_->stopAnimating();
    spinner_->removeFromSuperview();
    spinner_.reset();
  }
  showOrPersist();
  hideAfterDelay();
}

void SHKActivityIndicator::showOrPersist() {
  if (superview())
    persist();
  else
    show();
}

void SHKActivityIndicator::show() {
  if (!superview()) {
    if (ui::Window* window = ui::Application::shared().keyWindow())
      window->attachView(shared_from_this());
  }
  hideTimer_.invalidate();
  ui::animate(kFadeInSeconds, [this] { setAlpha(1); });
}

void SHKActivityIndicator::persist() {
  hideTimer_.invalidate();
  ui::AnimationOptions options;
  options.beginFromCurrentState = true;
  ui::animate(
      kPersistSeconds, [this] { setAlpha(1); }, {}, options);
}

void SHKActivityIndicator::hide() {
  std::weak_ptr<View> weak = weak_from_this();
  ui::animate(
      kFadeOutSeconds, [this] { setAlpha(0); },
      [weak](bool) {
        if (auto self = weak.lock()) static_cast<SHKActivityIndicator&>(*self).hidden();
      });
}

void SHKActivityIndicator::hideAfterDelay() {
  std::weak_ptr<View> weak = weak_from_this();
  hideTimer_ = base::Timer::once(kHideDelaySeconds, [weak] {
    if (auto self = weak.lock()) static_cast<SHKActivityIndicator&>(*self).hide();
  });
}

void SHKActivityIndicator::hidden() {
  if (alpha() > 0) return;
  auto keep = shared_from_this();
  removeFromSuperview();
  if (current().get() == this) current().reset();
}

void SHKActivityIndicator::setProperRotation(bool animated) {
  ui::Application& app = ui::Application::shared();
  ui::InterfaceOrientation windowOrientation = app.statusBarOrientation();
  if (ui::Window* window = app.keyWindow()) windowOrientation = window->interfaceOrientation();
  std::optional<double> rotation =
      ui::Window::attachedRotation(app.deviceOrientation(), windowOrientation);
  if (!rotation || transform().rotation == *rotation) return;
  ui::Transform turned = transform();
  turned.rotation = *rotation;
  if (animated)
    ui::animate(kRotationSeconds, [this, turned] { setTransform(turned); });
  else
    setTransform(turned);
}
