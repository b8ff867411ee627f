#pragma once
// The real program in a window on an X display (run under xvfb-run), driven through xdotool, and
// the pixel checks the window tests share.
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/app/gui/XScreen.h"

// The standard output of a shell command.
std::string output(const std::string& command);

struct Area {
  int x, y, w, h;
};

// Share of the pixels of `a` for which `test` holds.
double fraction(const ScreenImage& image, Area a, const std::function<bool(const Rgb&)>& test);
bool near(const Rgb& p, int r, int g, int b, int tolerance);
bool beige(const Rgb& p);
bool dark(const Rgb& p);
bool deepRed(const Rgb& p);
bool white(const Rgb& p);
// The reader's alert box (its dark blue panel) in the middle of the screen.
bool alertBox(const Rgb& p);
bool alertShown(const ScreenImage& s);

// Sets an environment variable for the programs started while it lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
};

// A copy of the demo site in `dir`/sample-site, found before the one in the source tree when
// `dir` is VEMO_DATA_DIR. Returns the path of the lead story's page (the home feed's first).
std::filesystem::path copySite(const std::filesystem::path& dir);

class Program {
 public:
  // `args` go to the program; its standard error goes to `errorFile` when one is given.
  void start(std::vector<std::string> args = {}, const std::string& errorFile = {});
  void stop();
  ~Program() { stop(); }

  std::map<std::string, int> geometry() const;
  ScreenImage capture() const;
  void click(int x, int y) const;
  const std::string& id() const { return window_; }
  void resize(int width, int height) const;
  void key(const std::string& keys) const;
  // Types plain text (letters, digits, "@", ".") into the focused field.
  void type(const std::string& text) const;
  // Captures until `shows` holds (true) or `seconds` passed (false).
  bool waitFor(const std::function<bool(const ScreenImage&)>& shows, ScreenImage* last = nullptr,
               double seconds = 20) const;

 private:
  pid_t pid_ = 0;
  std::string window_;
};

// Share of the pixels of `area` that differ between two pictures; 1 when their sizes differ.
double changedIn(const ScreenImage& a, const ScreenImage& b, Area area);
// Share of the pixels below the status bar (its clock and indicator change) that differ between
// two pictures; 1 when their sizes differ.
double changedBelowStatusBar(const ScreenImage& a, const ScreenImage& b);
// Captures until the window's picture holds still for `quiet` seconds (slides over, pages and
// pictures painted); false after `seconds`.
bool waitForStill(const Program& program, double quiet = 0.5, double seconds = 20);
// Clicks and waits for the window to change from its picture before the click, then to hold
// still: for a click that brings another screen or sheet in.
bool clickAndSettle(const Program& program, int x, int y, double seconds = 20);
