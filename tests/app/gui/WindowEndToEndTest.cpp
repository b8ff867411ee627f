// Drives the real program in a window on an X display (run under xvfb-run): clicks and keys go
// through xdotool, and every check reads the pixels the X server shows.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "tests/app/gui/XScreen.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

std::string output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

struct Area {
  int x, y, w, h;
};

double fraction(const ScreenImage& image, Area a, const std::function<bool(const Rgb&)>& test) {
  if (image.pixels.empty()) return 0;
  int hits = 0, all = 0;
  for (int y = a.y; y < a.y + a.h && y < image.height; ++y) {
    for (int x = a.x; x < a.x + a.w && x < image.width; ++x) {
      ++all;
      if (test(image.at(x, y))) ++hits;
    }
  }
  return all ? static_cast<double>(hits) / all : 0;
}

bool near(const Rgb& p, int r, int g, int b, int tolerance) {
  return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
         std::abs(p.b - b) <= tolerance;
}
bool beige(const Rgb& p) {
  return near(p, 227, 218, 207, 14);
}
bool dark(const Rgb& p) {
  return p.r + p.g + p.b < 330;
}
bool deepRed(const Rgb& p) {
  return p.r > 90 && p.g < 80 && p.b < 90 && p.r > 2 * p.g;
}
bool white(const Rgb& p) {
  return near(p, 255, 255, 255, 4);
}

// The reader's alert box (its dark blue panel) in the middle of the screen.
bool alertBox(const Rgb& p) {
  return near(p, 24, 48, 100, 30);
}
bool alertShown(const ScreenImage& s) {
  return fraction(s, {60, 200, 200, 60}, alertBox) > 0.2;
}
// The home screen: the reader's beige with story text on it from top to bottom, no alert and no
// lead-reader banner. (An alert over an empty home is dark on beige too.)
bool leadBanner(const ScreenImage& s) {
  return fraction(s, {10, 398, 300, 24}, deepRed) > 0.5;
}
bool homeTiles(const ScreenImage& s) {
  return s.width == 320 && fraction(s, {0, 64, 320, 396}, beige) > 0.4 &&
         fraction(s, {0, 64, 320, 100}, dark) > 0.02 &&
         fraction(s, {0, 220, 320, 100}, dark) > 0.02 &&
         fraction(s, {0, 370, 320, 90}, dark) > 0.02 && !alertShown(s) && !leadBanner(s);
}
// The article page inside the web view: its own red header band, then white page with text.
bool articlePage(const ScreenImage& s) {
  return fraction(s, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); }) >
             0.6 &&
         fraction(s, {0, 120, 320, 250}, white) > 0.4 &&
         fraction(s, {0, 120, 320, 250}, dark) > 0.01;
}
// The article page's header band and text with an alert box in the middle: the page under the
// alert is its picture, not the web view's empty white.
bool articleUnderAlert(const ScreenImage& s) {
  return fraction(s, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); }) >
             0.6 &&
         fraction(s, {0, 100, 320, 60}, white) > 0.4 &&
         fraction(s, {0, 100, 320, 60}, dark) > 0.01 && alertShown(s);
}
// Share of differing pixels below the status bar (its clock changes).
double difference(const ScreenImage& a, const ScreenImage& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1;
  int diff = 0, all = 0;
  for (int y = 20; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x, ++all) {
      if (!near(a.at(x, y), b.at(x, y).r, b.at(x, y).g, b.at(x, y).b, 24)) ++diff;
    }
  }
  return static_cast<double>(diff) / all;
}

// Sets an environment variable for the programs started while it lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { unsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
};

// A copy of the demo site in `dir`/sample-site, found before the one in the source tree when
// `dir` is VEMO_DATA_DIR. Returns the path of the lead story's page (the home feed's first).
std::filesystem::path copySite(const std::filesystem::path& dir) {
  std::filesystem::copy(VEMO_SAMPLE_SITE, dir / "sample-site",
                        std::filesystem::copy_options::recursive);
  std::string feed = testing_support::readFile(dir / "sample-site/Home.rss");
  size_t item = feed.find("<item>");
  size_t begin = feed.find("<link>{{SITE}}/", item);
  size_t end = feed.find("</link>", begin);
  if (item == std::string::npos || begin == std::string::npos || end == std::string::npos)
    return {};
  begin += std::string("<link>{{SITE}}/").size();
  return dir / "sample-site" / feed.substr(begin, end - begin);
}

// One XDG_RUNTIME_DIR for every program of this run (unless the caller has one). Without it the
// accessibility bus the first program starts keeps its socket in that test's cache folder, which
// goes with the test, and WebKit's sandbox then fails to start in the programs after it.
void sharedRuntimeDir() {
  struct Folder {
    std::string path;
    ~Folder() {
      std::error_code ignored;
      if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
  };
  static Folder folder;
  if (!folder.path.empty() || getenv("XDG_RUNTIME_DIR")) return;
  char name[] = "/tmp/vemo-e2e-runtime-XXXXXX";
  if (!mkdtemp(name)) return;
  folder.path = name;
  setenv("XDG_RUNTIME_DIR", name, 1);
}

class Program {
 public:
  void start() {
    forgetAccessibilityBus();
    sharedRuntimeDir();
    const char* argv[] = {VEMO_PATH, nullptr};
    ASSERT_EQ(posix_spawn(&pid_, VEMO_PATH, nullptr, nullptr, const_cast<char**>(argv), environ),
              0);
    std::string id = output("timeout 30 xdotool search --sync --onlyvisible --name '^Vemo$'");
    ASSERT_FALSE(id.empty()) << "the window did not appear";
    window_ = id.substr(0, id.find('\n'));
  }
  void stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = 0;
    }
  }
  ~Program() { stop(); }

  std::map<std::string, int> geometry() const {
    std::map<std::string, int> values;
    std::string text = output("xdotool getwindowgeometry --shell " + window_);
    size_t at = 0;
    while (at < text.size()) {
      size_t end = text.find('\n', at), eq = text.find('=', at);
      if (eq < end) values[text.substr(at, eq - at)] = std::atoi(text.substr(eq + 1).c_str());
      at = end == std::string::npos ? text.size() : end + 1;
    }
    return values;
  }
  ScreenImage capture() const {
    auto g = geometry();
    return captureScreen(g["X"], g["Y"], g["WIDTH"], g["HEIGHT"]);
  }
  void click(int x, int y) const {
    output("xdotool mousemove --window " + window_ + " " + std::to_string(x) + " " +
           std::to_string(y) + " click 1");
  }
  void key(const std::string& keys) const {
    output("xdotool windowfocus --sync " + window_ + " key " + keys);
  }
  // Captures until `shows` holds (true) or 20 seconds passed (false).
  bool waitFor(const std::function<bool(const ScreenImage&)>& shows, ScreenImage* last = nullptr,
               double seconds = 20) const {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    ScreenImage image;
    do {
      image = capture();
      if (shows(image)) {
        if (last) *last = image;
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
    } while (std::chrono::steady_clock::now() < end);
    if (last) *last = image;
    return false;
  }

 private:
  pid_t pid_ = 0;
  std::string window_;
};

TEST(WindowEndToEnd, ReadsTheDemoSiteThroughTheWindow) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;  // settings of this run only
  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());

  ScreenImage grid;
  ASSERT_TRUE(vemo.waitFor(homeTiles, &grid)) << "the home grid did not show tiles with text";
  // Negative control: the detectors tell the screens apart.
  EXPECT_FALSE(leadBanner(grid));
  EXPECT_FALSE(articlePage(grid));

  // A click on the status bar is no tap on anything: still home a moment later.
  vemo.click(160, 10);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  EXPECT_TRUE(homeTiles(vemo.capture()));

  vemo.click(60, 150);  // the lead story's tile
  ScreenImage lead;
  ASSERT_TRUE(vemo.waitFor(leadBanner, &lead)) << "the tile did not open the lead reader";
  EXPECT_FALSE(articlePage(lead));

  vemo.click(296, 40);  // the full-article button
  ScreenImage article;
  ASSERT_TRUE(vemo.waitFor(articlePage, &article)) << "the article page did not show in a web view";

  vemo.key("Escape");
  EXPECT_TRUE(vemo.waitFor([](const ScreenImage& s) { return leadBanner(s) && !articlePage(s); }))
      << "Escape did not go back to the lead reader";
  // The screens ignore keys until the pop's slide is over.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  vemo.key("alt+Left");
  EXPECT_TRUE(vemo.waitFor(homeTiles)) << "Alt+Left did not go back home";

  vemo.key("ctrl+Right");
  EXPECT_TRUE(vemo.waitFor([](const ScreenImage& s) { return s.width == 480 && s.height == 320; }))
      << "Ctrl+Right did not turn the window";
  ScreenImage landscape = vemo.capture();
  EXPECT_GT(fraction(landscape, {0, 64, 480, 256}, beige), 0.4);
  vemo.key("ctrl+Left");
  ASSERT_TRUE(vemo.waitFor(homeTiles, &grid)) << "Ctrl+Left did not turn back to portrait";
  std::this_thread::sleep_for(std::chrono::seconds(1));
  grid = vemo.capture();

  vemo.click(300, 42);  // the style button
  ScreenImage list;
  ASSERT_TRUE(vemo.waitFor([&](const ScreenImage& s) { return difference(s, grid) > 0.1; }, &list))
      << "the style button did not change the home screen";
  std::this_thread::sleep_for(std::chrono::seconds(2));  // thumbnails
  list = vemo.capture();

  vemo.stop();
  Program again;
  ASSERT_NO_FATAL_FAILURE(again.start());
  ScreenImage restarted;
  EXPECT_TRUE(
      again.waitFor([&](const ScreenImage& s) { return difference(s, list) < 0.03; }, &restarted))
      << "the list style did not survive the restart (difference " << difference(restarted, list)
      << ", from the grid " << difference(restarted, grid) << ")";
}

}  // namespace

namespace {

// Ctrl+Shift+A shows the accounts screen modally over the reader (the grouped table's grey under
// the drawn bar); its Done button brings the reader back.
TEST(WindowEndToEnd, AccountsScreenOpensWithItsShortcut) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home grid did not show";
  auto accounts = [](const ScreenImage& s) {
    return fraction(s, {0, 200, 320, 260}, [](const Rgb& p) { return near(p, 197, 204, 212, 6); }) >
           0.9;
  };
  EXPECT_FALSE(accounts(vemo.capture()));
  vemo.key("ctrl+shift+a");
  ASSERT_TRUE(vemo.waitFor(accounts)) << "Ctrl+Shift+A did not show the accounts screen";
  vemo.click(287, 42);  // Done
  EXPECT_TRUE(vemo.waitFor(homeTiles)) << "Done did not close the accounts screen";
}

// Negative control: with a home feed that has no stories the home check must fail, so that its
// passing above means the stories showed. (An empty VEMO_DATA_DIR proves nothing: every file not
// found there is taken from the source tree.)
TEST(WindowEndToEnd, HomeCheckFailsWithoutStories) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  ASSERT_FALSE(copySite(home.path()).empty());
  std::string feed = testing_support::readFile(home / "sample-site/Home.rss");
  size_t first = feed.find("<item>"), last = feed.rfind("</item>");
  ASSERT_NE(last, std::string::npos);
  feed.erase(first, last + std::string("</item>").size() - first);
  testing_support::writeFile(home / "sample-site/Home.rss", feed);
  ScopedEnv data("VEMO_DATA_DIR", home.path().string());

  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ScreenImage shown;
  EXPECT_FALSE(vemo.waitFor(homeTiles, &shown, 8)) << "the home check passed with no stories";
  EXPECT_FALSE(articlePage(shown));
}

// An alert over the article page: the live web view would paint over it, so the window shows the
// page's picture under the alert instead of leaving an empty hole.
TEST(WindowEndToEnd, AlertOverTheArticleShowsThePage) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
  testing_support::TempDir home;
  std::filesystem::path lead = copySite(home.path());
  ASSERT_FALSE(lead.empty());
  // A while after it loaded, the page goes to a loopback port bound but not listening: the load
  // fails, the article stays and the reader says so in an alert.
  int closed = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(closed, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(getsockname(closed, reinterpret_cast<sockaddr*>(&address), &size), 0);
  std::string page = testing_support::readFile(lead);
  size_t body = page.rfind("</body>");
  ASSERT_NE(body, std::string::npos);
  page.insert(body, "<script>setTimeout(function() { location.href = 'http://127.0.0.1:" +
                        std::to_string(ntohs(address.sin_port)) + "/'; }, 2500);</script>");
  testing_support::writeFile(lead, page);
  ScopedEnv data("VEMO_DATA_DIR", home.path().string());

  Program vemo;
  ASSERT_NO_FATAL_FAILURE(vemo.start());
  ASSERT_TRUE(vemo.waitFor(homeTiles)) << "the home grid did not show tiles with text";
  vemo.click(60, 150);
  ASSERT_TRUE(vemo.waitFor(leadBanner)) << "the tile did not open the lead reader";
  vemo.click(296, 40);
  ASSERT_TRUE(vemo.waitFor(articlePage)) << "the article page did not show in a web view";

  ScreenImage covered;
  EXPECT_TRUE(vemo.waitFor(articleUnderAlert, &covered))
      << "no alert over the article's picture (header red "
      << fraction(covered, {0, 68, 320, 16}, [](const Rgb& p) { return near(p, 153, 51, 51, 20); })
      << ", alert " << alertShown(covered) << ")";
  close(closed);
}

}  // namespace
