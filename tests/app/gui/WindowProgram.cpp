// The real program in a window, driven through xdotool, and the pixel checks the window tests
// share.
#include "tests/app/gui/WindowProgram.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/support/TempDir.h"

extern char** environ;

std::string output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

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

bool alertBox(const Rgb& p) {
  return near(p, 24, 48, 100, 30);
}
bool alertShown(const ScreenImage& s) {
  return fraction(s, {60, 200, 200, 60}, alertBox) > 0.2;
}

// Sets an environment variable for the programs started while it lives.
ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  setenv(name, value.c_str(), 1);
}
ScopedEnv::~ScopedEnv() {
  unsetenv(name_);
}

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

namespace {

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

}  // namespace

void Program::start(std::vector<std::string> args, const std::string& errorFile) {
  forgetAccessibilityBus();
  sharedRuntimeDir();
  std::vector<char*> argv = {const_cast<char*>(VEMO_PATH)};
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!errorFile.empty())
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT, 0600);
  int spawned = posix_spawn(&pid_, VEMO_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ASSERT_EQ(spawned, 0);
  // xdotool gives up with an X error when a window it looks at goes away meanwhile (a program
  // stopped just before): search again until the deadline.
  std::string id;
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (id.empty() && std::chrono::steady_clock::now() < end)
    id = output("timeout 30 xdotool search --sync --onlyvisible --name '^Vemo$' 2>/dev/null");
  ASSERT_FALSE(id.empty()) << "the window did not appear";
  window_ = id.substr(0, id.find('\n'));
}
void Program::stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }
}

std::map<std::string, int> Program::geometry() const {
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
ScreenImage Program::capture() const {
  auto g = geometry();
  return captureScreen(g["X"], g["Y"], g["WIDTH"], g["HEIGHT"]);
}
void Program::click(int x, int y) const {
  output("xdotool mousemove --window " + window_ + " " + std::to_string(x) + " " +
         std::to_string(y) + " click 1");
}
void Program::resize(int width, int height) const {
  output("xdotool windowsize " + window_ + " " + std::to_string(width) + " " +
         std::to_string(height));
}
void Program::key(const std::string& keys) const {
  output("xdotool windowfocus --sync " + window_ + " key " + keys);
}
void Program::type(const std::string& text) const {
  output("xdotool windowfocus --sync " + window_ + " type '" + text + "'");
}
bool Program::waitFor(const std::function<bool(const ScreenImage&)>& shows, ScreenImage* last,
                      double seconds) const {
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

double changedIn(const ScreenImage& a, const ScreenImage& b, Area area) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1;
  int changed = 0, all = 0;
  for (int y = area.y; y < area.y + area.h && y < a.height; ++y) {
    for (int x = area.x; x < area.x + area.w && x < a.width; ++x, ++all) {
      const Rgb& q = b.at(x, y);
      if (!near(a.at(x, y), q.r, q.g, q.b, 24)) ++changed;
    }
  }
  return all ? static_cast<double>(changed) / all : 0;
}
double changedBelowStatusBar(const ScreenImage& a, const ScreenImage& b) {
  return changedIn(a, b, {0, 20, a.width, a.height - 20});
}
bool waitForStill(const Program& program, double quiet, double seconds) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  ScreenImage last = program.capture();
  auto since = Clock::now();
  while (Clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ScreenImage next = program.capture();
    // A text field's caret is far below this share; a slide or a new picture is far above it.
    if (changedBelowStatusBar(last, next) > 0.001) {
      last = std::move(next);
      since = Clock::now();
    } else if (Clock::now() - since >= std::chrono::duration<double>(quiet)) {
      return true;
    }
  }
  return false;
}
bool clickAndSettle(const Program& program, int x, int y, double seconds) {
  const ScreenImage before = program.capture();
  program.click(x, y);
  return program.waitFor(
             [&](const ScreenImage& s) { return changedBelowStatusBar(s, before) > 0.002; },
             nullptr, seconds) &&
         waitForStill(program, 0.5, seconds);
}
