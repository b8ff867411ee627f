#include "tests/reader/screens/ScreenTestSupport.h"

#include "platform/base/Strings.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "reader/screens/ScreenFactory.h"
#include "tests/support/ExpectedFile.h"
#include "tests/support/ViewTreeText.h"

namespace screen_testing {

namespace {
void resetPlatform(bool virtualClock) {
  ui::AlertStack::shared().reset();
  ui::Application::shared().reset();
  base::RunLoop::main().reset();
  base::RunLoop::main().setVirtualClock(virtualClock);
  net::NetworkActivityIndicator::shared().setVisible(false);
}
}  // namespace

std::string rssFeed(int count, const std::vector<std::string>& pictures) {
  std::string xml =
      "<rss version=\"2.0\" xmlns:media=\"http://search.yahoo.com/mrss/\"><channel>\n";
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    const std::string n = std::to_string(i);
    xml += "<item><title>Tin " + n + "</title><link>http://example.com/" + n +
           ".html</link><description>Tóm tắt " + n +
           "</description><pubDate>Mon, 05 Dec 2011 14:30:00 EST</pubDate>";
    if (i < pictures.size() && !pictures[i].empty())
      xml += "<media:thumbnail url=\"" + pictures[i] + "\"/>";
    xml += "</item>\n";
  }
  return xml + "</channel></rss>\n";
}

StorySite::StorySite() {
  png_ = graphics::Image::filled({8, 8}, graphics::Color::rgb(20, 120, 40))->pngData();
  server_.server().set_keep_alive_max_count(1);
  server_.server().Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(mutex_);
    ++hits_[req.target];
    if (req.path == "/Home.rss") {
      res.set_content(feed_, "application/rss+xml");
    } else if (req.path == "/mobi/app_menu.php" && !menu_.empty()) {
      res.set_content(menu_, "text/xml");
    } else if (base::startsWith(req.path, "/thumb/") || base::startsWith(req.path, "/pic")) {
      res.set_content(png_, "image/png");
    } else if (base::startsWith(req.path, "/bad/")) {
      res.set_content("GIF89a but not really", "image/gif");
    } else {
      res.status = 404;
    }
  });
  server_.start();
}

int StorySite::hits(const std::string& target) {
  std::lock_guard lock(mutex_);
  return hits_[target];
}

ProbeScreens::ProbeScreens() {
  ScreenFactory& factory = ScreenFactory::shared();
  for (auto [kind, hook] :
       {std::pair{"sapo", &factory.sapo}, std::pair{"detail", &factory.detail}}) {
    *hook = [this, kind](const ScreenFactory::Items& items, int index, const std::string& l) {
      opened.push_back({kind, items, index, l});
      return std::make_shared<ProbeScreen>(l);
    };
  }
}

ProbeScreens::~ProbeScreens() {
  ScreenFactory::shared() = ScreenFactory{};
}

std::string ProbeScreens::log() const {
  std::string text;
  for (const Opened& o : opened) {
    text += (text.empty() ? "" : "; ") + o.kind + " " + std::to_string(o.index) + "/" +
            std::to_string(o.items.size()) + " " + o.landscape;
  }
  return text;
}

int countTagged(ui::ViewController& screen, int tag) {
  int count = 0;
  for (const auto& view : screen.view()->subviews()) count += view->tag() == tag;
  return count;
}

ui::Button* buttonShowing(ui::ViewController& screen, const std::string& image) {
  for (const auto& view : screen.view()->subviews()) {
    auto* button = dynamic_cast<ui::Button*>(view.get());
    if (button && shownImage(button) == image) return button;
  }
  return nullptr;
}

ui::HeadlessWebEngine& engine(DetailViewController& screen) {
  return dynamic_cast<ui::HeadlessWebEngine&>(screen.webView()->engine());
}

std::string alertMessage() {
  auto* alert = ui::AlertStack::shared().topAs<ui::AlertView>();
  if (!alert) return "";
  EXPECT_EQ(alert->title(), "Thông Báo");
  EXPECT_EQ(alert->numberOfButtons(), 1);
  EXPECT_EQ(alert->buttonTitleAtIndex(0), "Đồng ý");
  std::string message = alert->message();
  ui::AlertStack::shared().reset();
  return message;
}

::testing::AssertionResult looksLike(const ui::View& view, const std::string& name, int depth) {
  return testing_support::ExpectedFile::matches("tests/reader/screens/expected/" + name + ".txt",
                                                testing_support::ViewTreeText::dump(view, depth));
}

void press(ui::Button* button) {
  button->sendActionsForTouchUpInside();
  settle();
}

void rotate(ui::InterfaceOrientation orientation) {
  ui::Application::shared().rotate(orientation);
  settle();
}

ReaderTest::ReaderTest()
    : previousMeasurer_(graphics::TextMeasurer::setCurrent(
          std::make_shared<graphics::FixedTextMeasurer>(0.5, 1.2))) {
  resetPlatform(true);
  NewsSite::setBaseAddress(site_.url(""));
}

ReaderTest::~ReaderTest() {
  end();
  resetPlatform(false);
  graphics::TextMeasurer::setCurrent(previousMeasurer_);
}

MainViewController& ReaderTest::launch(const std::string& feed, bool wait) {
  end();
  site_.setFeed(feed);
  delegate_ = std::make_unique<VemoAppDelegate>();
  ui::Application::shared().setDelegate(delegate_.get());
  ui::Application::shared().launch();
  if (wait) settle();
  return dynamic_cast<MainViewController&>(*navigation().viewControllers().front());
}

void ReaderTest::end() {
  if (!delegate_) return;
  ui::Application::shared().reset();
  ScreenFactory::shared() = ScreenFactory{};
  delegate_.reset();
}

}  // namespace screen_testing
