#include "platform/ui/Renderer.h"

#include <cmath>
#include <ctime>

#include "platform/graphics/OffscreenSurface.h"
#include "platform/net/NetworkActivityIndicator.h"

namespace ui {
namespace {

using graphics::Color;
using graphics::Rect;

// Views this transparent are skipped, as the device does.
constexpr double kInvisibleAlpha = 0.01;

std::string currentClock() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[16];
  std::strftime(buf, sizeof buf, "%H:%M", &local);
  return buf;
}

// The spinning network activity indicator: twelve spokes fading round a circle, the brightest
// `step` spokes on from the right.
void paintSpinner(graphics::Painter& p, graphics::Point centre, double radius, int step) {
  for (int i = 0; i < 12; ++i) {
    double angle = (i + step) * M_PI / 6;
    double c = std::cos(angle), s = std::sin(angle);
    Color spoke{0.1, 0.1, 0.1, 0.25 + 0.75 * i / 11.0};
    p.drawLine({centre.x + c * radius * 0.45, centre.y + s * radius * 0.45},
               {centre.x + c * radius, centre.y + s * radius}, spoke, 1.5);
  }
}

}  // namespace

void Renderer::paint(const View& view, graphics::Painter& painter) {
  if (view.isHidden() || view.alpha() < kInvisibleAlpha) return;
  const Rect frame = view.frame();
  const Transform& transform = view.transform();
  // Nothing of an untransformed, clipping view can show outside the current clip.
  if (transform.isIdentity() && view.clipsToBounds() && !painter.clipBounds().intersects(frame)) {
    return;
  }

  painter.save();
  if (transform.isIdentity()) {
    painter.translate(frame.x(), frame.y());
  } else {
    painter.translate(frame.midX(), frame.midY());
    painter.rotate(transform.rotation);
    painter.scale(transform.scale, transform.scale);
    painter.translate(-frame.width() / 2, -frame.height() / 2);
  }
  // Overlapping subviews of a half-transparent view are composited once, as one picture.
  const bool layer = view.alpha() < 1 && !view.subviews().empty();
  if (layer) {
    painter.beginLayer();
  } else {
    painter.setAlpha(painter.alpha() * view.alpha());
  }
  if (view.clipsToBounds()) painter.clipToRect({0, 0, frame.width(), frame.height()});
  const Rect bounds = view.bounds();
  painter.translate(-bounds.x(), -bounds.y());
  view.draw(painter);
  for (const auto& subview : view.subviews()) paint(*subview, painter);
  if (layer) painter.endLayer(view.alpha());
  painter.restore();
}

void Renderer::paintStatusBar(graphics::Painter& p, double width, const std::string& clockText,
                              bool networkActivity, int activityStep) {
  const Rect bar{0, 0, width, kStatusBarHeight};
  p.fillVerticalGradient(bar, Color::rgb(236, 236, 236), Color::rgb(166, 166, 166));
  p.drawLine({0, kStatusBarHeight - 0.5}, {width, kStatusBarHeight - 0.5},
             Color::rgb(110, 110, 110));

  graphics::TextStyle text;
  text.font = graphics::Font::boldSystem(12);
  text.color = Color::black();
  text.verticalAlignment = graphics::VerticalAlignment::Center;
  text.shadow = graphics::TextShadow{Color{1, 1, 1, 0.6}, {0, 1}};
  p.drawText("Vemo", {6, 0, 60, kStatusBarHeight}, text);
  if (networkActivity) paintSpinner(p, {45, kStatusBarHeight / 2}, 6, activityStep);
  text.alignment = graphics::TextAlignment::Center;
  p.drawText(clockText, {width / 2 - 50, 0, 100, kStatusBarHeight}, text);

  // The battery: an outlined body, a nub and a full charge.
  const Rect body{width - 33, 5, 24, 11};
  p.strokeRect(body, Color::black(), 1);
  p.fillRect({body.maxX(), 8, 2, 5}, Color::black());
  p.fillRect(body.insetBy(2, 2), Color::black());
}

void Renderer::paintScreen(const View& root, graphics::Painter& painter,
                           const RenderOptions& options) {
  paint(root, painter);
  for (const View* overlay : options.overlays) {
    if (overlay) paint(*overlay, painter);
  }
  if (options.statusBar) {
    painter.save();
    painter.translate(root.frame().x(), root.frame().y());
    paintStatusBar(painter, root.frame().width(),
                   options.clockText.empty() ? currentClock() : options.clockText,
                   net::NetworkActivityIndicator::shared().visible(), options.activityStep);
    painter.restore();
  }
}

bool Renderer::renderToPng(const View& root, const std::filesystem::path& path,
                           const RenderOptions& options) {
  const Rect frame = root.frame();
  graphics::OffscreenSurface surface({frame.maxX(), frame.maxY()}, options.scale);
  graphics::Painter painter(surface.context());
  // The screen behind every view is black, as on the device.
  painter.fillRect({0, 0, frame.maxX(), frame.maxY()}, Color::black());
  paintScreen(root, painter, options);
  return surface.writePng(path);
}

}  // namespace ui
