#include "ads/AdBannerView.h"

#include <gtest/gtest.h>

#include "ads/AdRequest.h"
#include "platform/graphics/OffscreenSurface.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Renderer.h"

// Nothing shows before the first request; then a red strip.
TEST(AdBannerViewTest, DrawsTheHouseBannerOnceLoaded) {
  auto banner = std::make_shared<AdBannerView>(graphics::Rect{0, 0, 320, 50});
  graphics::OffscreenSurface surface({320, 50});
  graphics::Painter painter(surface.context());
  ui::Renderer::paint(*banner, painter);
  EXPECT_EQ(surface.colorAt({5, 25}).alpha, 0);
  banner->loadRequest(AdRequest::request());
  ui::Renderer::paint(*banner, painter);
  const graphics::Color strip = surface.colorAt({5, 25});
  EXPECT_TRUE(strip.alpha == 1 && strip.red > 0.3 && strip.green < 0.1);
}
