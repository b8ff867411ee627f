#include "platform/ui/Renderer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>

#include "platform/graphics/Image.h"
#include "platform/graphics/OffscreenSurface.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "tests/support/TempDir.h"

using graphics::Color;
using graphics::Image;
using graphics::Rect;

namespace {

const Color kRed{1, 0, 0, 1};
const Color kGreen{0, 1, 0, 1};
const Color kBlue{0, 0, 1, 1};

bool same(const Color& a, const Color& b) {
  return std::abs(a.red - b.red) < 0.03 && std::abs(a.green - b.green) < 0.03 &&
         std::abs(a.blue - b.blue) < 0.03 && std::abs(a.alpha - b.alpha) < 0.03;
}

// A view of one colour, added to `parent`.
std::shared_ptr<ui::View> box(Rect frame, Color color, ui::View& parent) {
  auto v = std::make_shared<ui::View>(frame);
  v->setBackgroundColor(color);
  parent.addSubview(v);
  return v;
}

// A small screen with one thing of every kind the renderer must handle.
class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "images");
    testing_support::writeFile(dir / "images/render_red.png",
                               Image::filled({40, 40}, kRed)->pngData());
    setenv("VEMO_DATA_DIR", dir.path().c_str(), 1);
    root->setBackgroundColor(Color::white());
    image = std::make_shared<ui::ImageView>(Image::named("render_red.png"));
    image->setFrame({10, 10, 20, 20});
    root->addSubview(image);
    label->setText("Tin mới");
    label->setFont(graphics::Font::named("TimesNewRomanPS-BoldMT", 16));
    root->addSubview(label);
    box({10, 40, 20, 20}, kBlue, *root)->setHidden(true);
    auto clipper = box({60, 40, 20, 20}, Color::white(), *root);
    clipper->setClipsToBounds(true);
    box({0, 0, 40, 40}, kGreen, *clipper);
    scroll->setContentSize({80, 20});
    scroll->setClipsToBounds(true);
    box({0, 0, 20, 20}, kBlue, *scroll);
    box({20, 0, 20, 20}, kRed, *scroll);
    scroll->setContentOffset({20, 0});
    root->addSubview(scroll);
    box({60, 70, 20, 20}, Color::black(), *root)->setAlpha(0.5);
  }
  void TearDown() override { unsetenv("VEMO_DATA_DIR"); }

  static Color at(const graphics::ImagePtr& img, double x, double y) {
    return img->pixel(static_cast<int>(x * img->scale()), static_cast<int>(y * img->scale()));
  }

  testing_support::TempDir dir;
  std::shared_ptr<ui::View> root = std::make_shared<ui::View>(Rect{0, 0, 100, 120});
  std::shared_ptr<ui::ImageView> image;
  std::shared_ptr<ui::Label> label = std::make_shared<ui::Label>(Rect{40, 10, 50, 20});
  std::shared_ptr<ui::ScrollView> scroll = std::make_shared<ui::ScrollView>(Rect{10, 70, 40, 20});
};

TEST_F(RendererTest, PaintsTheTreeToPngAtTwiceTheScale) {
  // A horizontal bar centred on (50, 100), turned upright.
  box({20, 95, 60, 10}, kBlue, *root)->setTransform(ui::Transform::rotated(std::numbers::pi / 2));
  ui::RenderOptions options;
  options.scale = 2;
  options.statusBar = false;
  ASSERT_TRUE(ui::Renderer::renderToPng(*root, dir / "screen.png", options));
  auto png = Image::fromFile(dir / "screen.png", options.scale);
  EXPECT_EQ(png->pixelWidth(), 200);
  EXPECT_EQ(image->image()->size(), (graphics::Size{20, 20}));  // named images are twice as dense

  EXPECT_TRUE(same(at(png, 20, 20), kRed));            // the image
  EXPECT_TRUE(same(at(png, 5, 5), Color::white()));    // the root's background
  EXPECT_TRUE(same(at(png, 20, 50), Color::white()));  // the hidden view is not drawn
  EXPECT_TRUE(same(at(png, 70, 50), kGreen));          // the clipped child inside its parent
  EXPECT_TRUE(same(at(png, 85, 50), Color::white()));  // ... and cut outside it
  EXPECT_TRUE(same(at(png, 15, 80), kRed));            // scrolled by 20: red at the left
  EXPECT_NEAR(at(png, 70, 80).red, 0.5, 0.03);         // black at half opacity on white
  EXPECT_TRUE(same(at(png, 50, 115), kBlue));
  EXPECT_TRUE(same(at(png, 25, 100), Color::white()));

  int ink = 0;
  for (double y = 10; y < 30; y += 0.5)
    for (double x = 40; x < 90; x += 0.5) ink += at(png, x, y).red < 0.5;
  EXPECT_GT(ink, 50);  // the label's text
}

}  // namespace
