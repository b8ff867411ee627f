// The real program in a window, driven through xdotool, and the pixel checks the window tests
// share.
#include "tests/app/gui/WindowProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

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

bool eventually(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

std::vector<std::string> bodies(ServiceSandbox& sandbox, const std::string& path,
                                const std::string& method) {
  std::vector<std::string> found;
  for (const SandboxRequest& r : sandbox.log().requests())
    if (r.path == path && (method.empty() || r.method == method)) found.push_back(r.body);
  return found;
}

double fraction(const ScreenImage& image, Area a, const std::function<bool(const Rgb&)>& test) {
  int hits = 0, all = 0;
  for (int y = a.y; y < a.y + a.h && y < image.height; ++y) {
    for (int x = a.x; x < a.x + a.w && x < image.width; ++x, ++all) hits += test(image.at(x, y));
  }
  return all ? static_cast<double>(hits) / all : 0;
}

bool homeTiles(const ScreenImage& s) {
  return s.width == 320 && fraction(s, {0, 64, 320, 396}, beige) > 0.4 &&
         fraction(s, {0, 64, 320, 100}, dark) > 0.02 &&
         fraction(s, {0, 220, 320, 100}, dark) > 0.02 &&
         fraction(s, {0, 370, 320, 90}, dark) > 0.02 && !alertShown(s) && !leadReader(s);
}
bool facebookPanel(const ScreenImage& s) {
  return fraction(s, {30, 31, 240, 3}, [](const Rgb& p) { return near(p, 109, 132, 179, 12); }) >
             0.5 &&
         fraction(s, {40, 300, 240, 100}, white) > 0.9;
}

std::filesystem::path copySite(const std::filesystem::path& dir) {
  std::filesystem::copy(VEMO_SAMPLE_SITE, dir / "sample-site",
                        std::filesystem::copy_options::recursive);
  const std::string feed = testing_support::readFile(dir / "sample-site/Home.rss");
  const std::string link = "<link>{{SITE}}/";
  const size_t begin = feed.find(link, feed.find("<item>"));
  if (begin == std::string::npos) return {};
  return dir / "sample-site" /
         feed.substr(begin + link.size(), feed.find("</link>", begin) - begin - link.size());
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
  eventually(
      [&] {
        id = output("timeout 30 xdotool search --sync --onlyvisible --name '^Vemo$' 2>/dev/null");
        return !id.empty();
      },
      30);
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

ScreenImage Program::capture() const {
  int x = 0, y = 0, width = 0, height = 0;
  std::sscanf(output("xdotool getwindowgeometry --shell " + window_).c_str(),
              "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height);
  return captureScreen(x, y, width, height);
}
void Program::xdotool(const std::string& command, const std::string& arguments) const {
  output("xdotool " + command + " " + window_ + " " + arguments);
}
void Program::click(int x, int y) const {
  xdotool("mousemove --window", std::to_string(x) + " " + std::to_string(y) + " click 1");
}
bool Program::waitFor(const std::function<bool(const ScreenImage&)>& shows, ScreenImage* last,
                      double seconds) const {
  ScreenImage image;
  const bool shown = eventually([&] { return shows(image = capture()); }, seconds);
  if (last) *last = image;
  return shown;
}
bool Program::waitForStill(double quiet, double seconds) const {
  using Clock = std::chrono::steady_clock;
  ScreenImage last = capture();
  auto since = Clock::now();
  return eventually(
      [&] {
        ScreenImage next = capture();
        // A text field's caret is far below this share; a slide or a new picture far above it.
        if (changedBelowStatusBar(last, next) > 0.001) {
          last = std::move(next);
          since = Clock::now();
        }
        return Clock::now() - since >= std::chrono::duration<double>(quiet);
      },
      seconds);
}
bool Program::clickAndSettle(int x, int y, double seconds) const {
  const ScreenImage before = capture();
  click(x, y);
  return waitFor([&](const ScreenImage& s) { return changedBelowStatusBar(s, before) > 0.002; },
                 nullptr, seconds) &&
         waitForStill(0.5, seconds);
}
testing::AssertionResult Program::openLead(double seconds) const {
  if (!waitFor(homeTiles, nullptr, seconds))
    return testing::AssertionFailure() << "the home grid did not show tiles with text";
  click(60, 150);  // the lead story's tile
  // Its buttons take taps once it has slid in.
  if (!waitFor(leadReader) || !waitForStill())
    return testing::AssertionFailure() << "no lead reader";
  return testing::AssertionSuccess();
}
void Program::logInOnFacebook() const {
  ASSERT_TRUE(waitFor(facebookPanel, nullptr, 40)) << "no log-in panel";
  ASSERT_TRUE(waitForStill(1));  // the page painted its fields
  // Each field shows what was typed before the next click.
  const std::pair<Area, std::function<void()>> fields[] = {
      {{100, 70, 160, 20}, [this] { type("ann@example.tst"), key("Left Left"), type("e"); }},
      {{100, 107, 160, 20}, [this] { type("secret"); }},
  };
  for (const auto& [field, typing] : fields) {
    ScreenImage before = capture();
    click(field.x + 70, field.y + 10);
    // Keys typed before the page has moved the focus would be lost: its focus ring shows it.
    waitFor([&](const ScreenImage& s) { return changedIn(s, before, field) > 0.005; }, &before, 3);
    typing();
    ASSERT_TRUE(waitFor([&](const ScreenImage& s) { return changedIn(s, before, field) > 0.02; }))
        << "the field did not take the keys";
    ASSERT_TRUE(waitForStill());
  }
  click(56, 155);  // Log in
}

double changedIn(const ScreenImage& a, const ScreenImage& b, Area area) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1;
  return fraction(a, area, [&](const Rgb& p) {
    const Rgb& q = b.pixels[static_cast<size_t>(&p - a.pixels.data())];  // at the same place
    return !near(p, q.r, q.g, q.b, 24);
  });
}
double changedBelowStatusBar(const ScreenImage& a, const ScreenImage& b) {
  return changedIn(a, b, {0, 20, a.width, a.height - 20});
}
