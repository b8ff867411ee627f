#include "ads/AdBannerView.h"

#include <cctype>
#include <mutex>

#include "ads/AdRequest.h"
#include "platform/graphics/Painter.h"
#include "platform/graphics/TextStyle.h"

namespace {
constexpr graphics::Color kBurgundy = graphics::Color::rgb(128, 0, 32);
constexpr graphics::Color kBurgundyDark = graphics::Color::rgb(92, 0, 24);
constexpr graphics::Color kCream = graphics::Color::rgb(247, 239, 226);

std::mutex& idMutex() {
  static std::mutex mutex;
  return mutex;
}
std::string& currentId() {
  static std::string id = "a1b2c3d4e5f6071";
  return id;
}
}  // namespace

AdBannerView::AdBannerView(graphics::Rect frame) : View(frame) {}

std::string AdBannerView::publisherId() {
  std::lock_guard lock(idMutex());
  return currentId();
}

bool AdBannerView::setPublisherId(std::string id) {
  if (!isValidPublisherId(id)) return false;
  std::lock_guard lock(idMutex());
  currentId() = std::move(id);
  return true;
}

bool AdBannerView::isValidPublisherId(std::string_view id) {
  if (id.size() != kPublisherIdLength) return false;
  for (char c : id) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

void AdBannerView::loadRequest(const AdRequest& /*request*/) {
  ++requestCount_;
}

void AdBannerView::draw(graphics::Painter& painter) const {
  View::draw(painter);
  if (!hasAdvertisement()) return;
  const graphics::Rect area = bounds();
  painter.fillVerticalGradient(area, kBurgundy, kBurgundyDark);
  painter.drawLine({area.x(), area.y() + 0.5}, {area.maxX(), area.y() + 0.5}, kCream, 1);
  graphics::TextStyle style;
  style.font = graphics::Font::named("TimesNewRomanPS-BoldMT", 20);
  style.color = kCream;
  style.alignment = graphics::TextAlignment::Center;
  style.verticalAlignment = graphics::VerticalAlignment::Center;
  style.shadow = graphics::TextShadow{graphics::Color::rgb(0, 0, 0, 0.5), {0, 1}};
  painter.drawText(kSlogan, area, style);
}
