#include "ads/AdBannerView.h"

#include <gtest/gtest.h>

#include "ads/AdRequest.h"
#include "platform/graphics/OffscreenSurface.h"
#include "platform/graphics/Painter.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ViewController.h"

TEST(AdBannerViewTest, PublisherIdIsFifteenHexadecimalCharacters) {
  EXPECT_TRUE(AdBannerView::isValidPublisherId(AdBannerView::publisherId()));
  const std::string original = AdBannerView::publisherId();
  EXPECT_FALSE(AdBannerView::setPublisherId("a1b2c3d4e5f607"));    // 14
  EXPECT_FALSE(AdBannerView::setPublisherId("a1b2c3d4e5f60712"));  // 16
  EXPECT_FALSE(AdBannerView::setPublisherId("a1b2c3d4e5f607g"));   // not hexadecimal
  EXPECT_EQ(AdBannerView::publisherId(), original);
  EXPECT_TRUE(AdBannerView::setPublisherId("ABCDEF012345678"));
  EXPECT_EQ(AdBannerView::publisherId(), "ABCDEF012345678");
  AdBannerView::setPublisherId(original);
}

TEST(AdBannerViewTest, CountsRequestsAndDrawsTheHouseBannerOnceLoaded) {
  auto banner = std::make_shared<AdBannerView>(graphics::Rect{0, 0, 320, 50});
  ui::ViewController owner;
  banner->setRootViewController(&owner);
  banner->setTag(1111);
  EXPECT_EQ(banner->rootViewController(), &owner);

  auto paintedCentre = [&] {
    graphics::OffscreenSurface surface({320, 50});
    graphics::Painter painter(surface.context());
    ui::Renderer::paint(*banner, painter);
    return surface.colorAt({5, 25});
  };
  // Nothing shows before the first request.
  EXPECT_EQ(paintedCentre().alpha, 0);

  banner->loadRequest(AdRequest::request());
  EXPECT_EQ(banner->requestCount(), 1);
  graphics::Color strip = paintedCentre();
  EXPECT_EQ(strip.alpha, 1);
  EXPECT_GT(strip.red, 0.3);
  EXPECT_LT(strip.green, 0.1);

  banner->loadRequest(AdRequest::request());
  EXPECT_EQ(banner->requestCount(), 2);
}
