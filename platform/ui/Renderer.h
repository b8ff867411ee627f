#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/View.h"

namespace ui {

// What a full-screen rendering shows besides the view tree.
struct RenderOptions {
  // Pixels per point of the PNG (2 for HiDPI).
  double scale = 1;
  // Draws the 20-point status bar over the top of the root view.
  bool statusBar = true;
  // The clock text of the status bar; empty means the current local time.
  std::string clockText;
  // Turns the network activity indicator a spoke at a time (0 to 11), so that a window that
  // repaints with a growing step shows it spinning.
  int activityStep = 0;
  // Views drawn on top of the tree, in order (alerts, action sheets), each in root coordinates.
  std::vector<const View*> overlays;
};

// Paints view trees with the painter: each view's frame origin, bounds (scroll offset),
// transform about its centre, clipping, alpha and hidden flag are applied, the view draws its own
// content, then its subviews in order.
class Renderer {
 public:
  // Paints `view` and its subviews; the painter's origin is the superview's bounds origin
  // (for a root view: the screen's top-left corner).
  static void paint(const View& view, graphics::Painter& painter);
  // Paints a whole screen: the tree of `root`, the overlays and the status bar.
  static void paintScreen(const View& root, graphics::Painter& painter,
                          const RenderOptions& options);
  // The status bar across `width` points, with the network activity indicator when it is on
  // (its brightest spoke moved on by `activityStep`).
  static void paintStatusBar(graphics::Painter& painter, double width, const std::string& clockText,
                             bool networkActivity, int activityStep = 0);
  // Renders a whole screen of the root's frame size into a PNG file; false when it cannot be
  // written.
  static bool renderToPng(const View& root, const std::filesystem::path& path,
                          const RenderOptions& options = {});

  // Height of the status bar, in points.
  static constexpr double kStatusBarHeight = 20;
};

}  // namespace ui
