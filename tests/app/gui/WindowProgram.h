#pragma once
// The real program in a window on an X display (run under xvfb-run), driven through xdotool, and
// the pixel checks the window tests share.
#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/sandbox/ServiceSandbox.h"
#include "tests/app/gui/XScreen.h"
#include "tests/support/TempDir.h"

// The standard output of a shell command.
std::string output(const std::string& command);
// Polls `done` until it holds (true) or `seconds` passed (false).
bool eventually(const std::function<bool()>& done, double seconds = 20);
// The bodies of the requests for a service's `path` that the sandbox received, of `method` when
// one is given.
std::vector<std::string> bodies(ServiceSandbox& sandbox, const std::string& path,
                                const std::string& method = "");

struct Area {
  int x, y, w, h;
};

// Share of the pixels of `a` for which `test` holds.
double fraction(const ScreenImage& image, Area a, const std::function<bool(const Rgb&)>& test);
inline bool near(const Rgb& p, int r, int g, int b, int tolerance) {
  return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
         std::abs(p.b - b) <= tolerance;
}
inline bool beige(const Rgb& p) {
  return near(p, 227, 218, 207, 14);
}
inline bool dark(const Rgb& p) {
  return p.r + p.g + p.b < 330;
}
inline bool deepRed(const Rgb& p) {
  return p.r > 90 && p.g < 80 && p.b < 90 && p.r > 2 * p.g;
}
inline bool white(const Rgb& p) {
  return near(p, 255, 255, 255, 4);
}
// The reader's alert box (its dark blue panel) in the middle of the screen.
inline bool alertShown(const ScreenImage& s) {
  return fraction(s, {60, 200, 200, 60}, [](const Rgb& p) { return near(p, 24, 48, 100, 30); }) >
         0.2;
}
// The lead reader: its deep red banner over the story's picture.
inline bool leadReader(const ScreenImage& s) {
  return fraction(s, {10, 398, 300, 24}, deepRed) > 0.5;
}
// The home grid: the reader's beige with story text from top to bottom, no alert, no banner.
bool homeTiles(const ScreenImage& s);
// The Facebook panel: its blue title bar across the top, the page's white below.
bool facebookPanel(const ScreenImage& s);
// Share of the pixels of `area` that differ between two pictures; 1 when their sizes differ.
double changedIn(const ScreenImage& a, const ScreenImage& b, Area area);
// The same below the status bar (its clock and indicator change).
double changedBelowStatusBar(const ScreenImage& a, const ScreenImage& b);

// A copy of the demo site in `dir`/sample-site, found before the one in the source tree when
// `dir` is VEMO_DATA_DIR. Returns the path of the lead story's page (the home feed's first).
std::filesystem::path copySite(const std::filesystem::path& dir);

class Program {
 public:
  // `args` go to the program; its standard error goes to `errorFile` when one is given.
  void start(std::vector<std::string> args = {}, const std::string& errorFile = {});
  void stop();
  ~Program() { stop(); }

  ScreenImage capture() const;
  const std::string& id() const { return window_; }
  // xdotool's `command` with its arguments, aimed at the window.
  void xdotool(const std::string& command, const std::string& arguments) const;
  void click(int x, int y) const;
  void key(const std::string& keys) const { xdotool("windowfocus --sync", "key " + keys); }
  // Types plain text (letters, digits, "@", ".") into the focused field.
  void type(const std::string& text) const { xdotool("windowfocus --sync", "type '" + text + "'"); }
  // Captures until `shows` holds (true) or `seconds` passed (false).
  bool waitFor(const std::function<bool(const ScreenImage&)>& shows, ScreenImage* last = nullptr,
               double seconds = 20) const;
  // Captures until the picture holds still for `quiet` seconds (slides over, pages painted).
  bool waitForStill(double quiet = 0.5, double seconds = 20) const;
  // Clicks and waits for the picture to change, then to hold still: for a click that brings
  // another screen or sheet in.
  bool clickAndSettle(int x, int y, double seconds = 20) const;
  // Home, then the lead story's tile.
  testing::AssertionResult openLead(double seconds = 40) const;
  // Fills the Facebook log-in page in the panel and logs in. The arrow keys in the address must
  // move in the page's field, not to another story under the panel.
  void logInOnFacebook() const;

 private:
  pid_t pid_ = 0;
  std::string window_;
};

// A test of the program in a window: skipped without an X display. Its settings, keychain file
// and data files (those it holds; the others come from the source tree) are in a fresh folder,
// away from a desktop keyring.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display (run under xvfb-run)";
    setenv("VEMO_DATA_DIR", home_.path().c_str(), 1);
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
  void TearDown() override { vemo_.stop(); }
  testing_support::TempDir home_;
  Program vemo_;
};
