#include "platform/ui/Renderer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/graphics/Image.h"
#include "platform/graphics/OffscreenSurface.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewTreeJson.h"
#include "tests/platform/graphics/PixelTestSupport.h"
#include "tests/support/TempDir.h"

using graphics::Color;
using graphics::Image;
using graphics::Rect;

namespace {

const Color kRed{1, 0, 0, 1};
const Color kGreen{0, 1, 0, 1};
const Color kBlue{0, 0, 1, 1};

const Color kWhite = Color::white();

bool same(const Color& a, const Color& b) {
  return testing_support::near(a, b, 0.03);
}

std::shared_ptr<ui::View> box(Rect frame, Color color) {
  auto v = std::make_shared<ui::View>(frame);
  v->setBackgroundColor(color);
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

    root = box({0, 0, 100, 120}, Color::white());
    image = std::make_shared<ui::ImageView>(Image::named("render_red.png"));
    image->setFrame({10, 10, 20, 20});
    image->setTag(7);
    root->addSubview(image);

    label = std::make_shared<ui::Label>(Rect{40, 10, 50, 20});
    label->setText("Tin mới");
    label->setFont(graphics::Font::named("TimesNewRomanPS-BoldMT", 16));
    root->addSubview(label);

    hidden = box({10, 40, 20, 20}, kBlue);
    hidden->setHidden(true);
    root->addSubview(hidden);

    clipper = box({60, 40, 20, 20}, Color::white());
    clipper->setClipsToBounds(true);
    clipper->addSubview(box({0, 0, 40, 40}, kGreen));
    root->addSubview(clipper);

    scroll = std::make_shared<ui::ScrollView>(Rect{10, 70, 40, 20});
    scroll->setContentSize({80, 20});
    scroll->setClipsToBounds(true);
    scroll->addSubview(box({0, 0, 20, 20}, kBlue));
    scroll->addSubview(box({20, 0, 20, 20}, kRed));
    scroll->setContentOffset({20, 0});
    root->addSubview(scroll);

    faded = box({60, 70, 20, 20}, Color::black());
    faded->setAlpha(0.5);
    root->addSubview(faded);
  }
  void TearDown() override { unsetenv("VEMO_DATA_DIR"); }

  graphics::ImagePtr render(const ui::RenderOptions& options) {
    EXPECT_TRUE(ui::Renderer::renderToPng(*root, dir / "screen.png", options));
    return Image::fromFile(dir / "screen.png", options.scale);
  }
  static Color at(const graphics::ImagePtr& img, double x, double y) {
    return img->pixel(static_cast<int>(x * img->scale()), static_cast<int>(y * img->scale()));
  }
  static std::function<Color(double, double)> colorsOf(const graphics::ImagePtr& img) {
    return [img](double x, double y) { return at(img, x, y); };
  }

  testing_support::TempDir dir;
  std::shared_ptr<ui::View> root, hidden, clipper, faded;
  std::shared_ptr<ui::ImageView> image;
  std::shared_ptr<ui::Label> label;
  std::shared_ptr<ui::ScrollView> scroll;
};

TEST_F(RendererTest, PaintsTheTreeToPngAtTwiceTheScale) {
  ui::RenderOptions options;
  options.scale = 2;
  options.statusBar = false;
  auto png = render(options);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->pixelWidth(), 200);
  EXPECT_EQ(png->pixelHeight(), 240);

  // The image; the root's background; no hidden view; the clipped child inside its parent and
  // cut outside it; scrolled by 20: red at the left, blue out, the rest empty; black at half
  // opacity on white.
  testing_support::expectPixels(colorsOf(png),
                                {{20, 20, kRed},
                                 {5, 5, kWhite},
                                 {20, 50, kWhite},
                                 {70, 50, kGreen},
                                 {85, 50, kWhite},
                                 {15, 80, kRed},
                                 {45, 80, kWhite},
                                 {70, 80, {0.5, 0.5, 0.5, 1}}},
                                0.03);
  int ink = 0;
  for (double y = 10; y < 30; y += 0.5) {
    for (double x = 40; x < 90; x += 0.5) ink += at(png, x, y).red < 0.5;
  }
  EXPECT_GT(ink, 50);  // the label's text
}

TEST_F(RendererTest, TransformsRotateAboutTheCentre) {
  auto bar = box({20, 95, 60, 10}, kBlue);  // horizontal bar centred on (50, 100)
  bar->setTransform(ui::Transform::rotated(M_PI / 2));
  root->addSubview(bar);
  ui::RenderOptions options;
  options.statusBar = false;
  auto png = render(options);
  ASSERT_TRUE(png);
  testing_support::expectPixels(colorsOf(png), {{50, 115, kBlue}, {25, 100, kWhite}});  // upright
}

TEST_F(RendererTest, StatusBarShowsTheNetworkActivityIndicator) {
  ui::RenderOptions options;
  options.clockText = "09:41";
  auto& indicator = net::NetworkActivityIndicator::shared();
  indicator.setVisible(false);
  auto idle = render(options);
  indicator.setVisible(true);
  auto busy = render(options);
  indicator.setVisible(false);
  ASSERT_TRUE(idle && busy);
  EXPECT_FALSE(same(at(idle, 50, 2), Color::white()));  // the bar covers the top 20 points
  EXPECT_TRUE(same(at(idle, 5, 25), Color::white()));
  int differing = 0;
  for (double y = 0; y < 20; ++y) {
    for (double x = 0; x < 100; ++x) differing += !same(at(idle, x, y), at(busy, x, y));
  }
  EXPECT_GT(differing, 5);
  // An overlay is drawn above the tree, under the bar.
  auto alert = box({0, 0, 100, 120}, kGreen);
  options.overlays = {alert.get()};
  auto covered = render(options);
  EXPECT_TRUE(same(at(covered, 20, 20), kGreen));
  EXPECT_FALSE(same(at(covered, 50, 2), kGreen));
}

TEST_F(RendererTest, JsonDumpDescribesTheTreeInWindowPoints) {
  auto button = std::make_shared<ui::Button>(Rect{5, 5, 30, 30});
  button->setImage(Image::named("render_red.png"));
  button->setTitle("Lưu", ui::ControlState::Selected);
  scroll->addSubview(button);

  // Children of a scrolled view: frame x 20 in content, shown at 10 + 20 − 20 = 10.
  nlohmann::json j = ui::ViewTreeJson::dump(*root);
  const std::pair<const char*, nlohmann::json> fields[] = {
      {"/class", "View"},
      {"/subviews/0/class", "ImageView"},
      {"/subviews/0/tag", 7},
      {"/subviews/0/image", "render_red.png"},
      {"/subviews/0/frame/x", 10},
      {"/subviews/1/text", "Tin mới"},
      {"/subviews/1/font/name", "TimesNewRomanPS-BoldMT"},
      {"/subviews/1/font/size", 16},
      {"/subviews/2/hidden", true},
      {"/subviews/4/class", "ScrollView"},
      {"/subviews/4/contentSize/width", 80},
      {"/subviews/4/contentOffset/x", 20},
      {"/subviews/4/subviews/1/frame/x", 10},
      {"/subviews/4/subviews/1/frame/y", 70},
      {"/subviews/4/subviews/2/class", "Button"},
      {"/subviews/4/subviews/2/frame/x", -5},
      {"/subviews/4/subviews/2/images/normal", "render_red.png"},
      {"/subviews/4/subviews/2/titles/normal", ""},
      {"/subviews/4/subviews/2/titles/selected", "Lưu"},
      {"/subviews/5/alpha", 0.5}};
  for (const auto& [pointer, value] : fields)
    EXPECT_EQ(j.value(nlohmann::json::json_pointer(pointer), nlohmann::json()), value) << pointer;
  EXPECT_EQ(j["subviews"].size(), 6u);
  EXPECT_FALSE(j["subviews"][4]["subviews"][2]["titles"].contains("highlighted"));

  label->setText("bad \xff text");
  ASSERT_TRUE(ui::ViewTreeJson::writeFile(*root, dir / "tree.json"));
  auto back = nlohmann::json::parse(testing_support::readFile(dir / "tree.json"));
  EXPECT_EQ(back["subviews"][1]["text"], "bad \xEF\xBF\xBD text");
}

}  // namespace
