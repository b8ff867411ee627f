// Start-up of the desktop program on its demo site, measured from outside by the pixels on the
// X display (run under xvfb-run): the time to the first painted home screen against a bare GTK
// window started in the same run, and the program's resident memory.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "tests/app/gui/XScreen.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

pid_t spawn(const char* path) {
  pid_t pid = 0;
  const char* argv[] = {path, nullptr};
  if (posix_spawn(&pid, path, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return 0;
  return pid;
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

bool beige(const Rgb& p) {
  return std::abs(p.r - 227) < 15 && std::abs(p.g - 218) < 15 && std::abs(p.b - 207) < 15;
}

// Share of `test` pixels in the top-left 320 × 480 of the screen (where a window opens without a
// window manager).
double share(const std::function<bool(const Rgb&)>& test, int y0 = 64, int y1 = 460) {
  ScreenImage s = captureScreen(0, 0, 320, 480);
  if (s.pixels.empty()) return 0;
  int hits = 0, all = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = 0; x < 320; ++x, ++all) hits += test(s.at(x, y)) ? 1 : 0;
  }
  return static_cast<double>(hits) / all;
}

// The home screen: beige with story text on it.
bool homePainted() {
  return share(beige) > 0.4 && share([](const Rgb& p) { return p.r + p.g + p.b < 330; }) > 0.02;
}

bool bareWindowPainted() {
  return share(beige) > 0.95;
}

// Seconds from spawn to `painted`, or -1 after 30 seconds.
double timeToPaint(const char* path, const std::function<bool()>& painted, pid_t* keep = nullptr) {
  // Leaves the screen empty first: the previous window is gone.
  Clock::time_point start = Clock::now();
  pid_t pid = spawn(path);
  double seconds = -1;
  while (Clock::now() - start < std::chrono::seconds(30)) {
    if (painted()) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (keep) {
    *keep = pid;
  } else {
    stop(pid);
  }
  return seconds;
}

double residentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

bool haveDisplay(benchmark::State& state) {
  if (getenv("DISPLAY")) return true;
  state.SkipWithError("no X display: run under xvfb-run -a");
  return false;
}

void BM_StartupToHome(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  double vemoTotal = 0, bareTotal = 0;
  int runs = 0;
  for (auto _ : state) {
    double bare = timeToPaint(BARE_WINDOW_PATH, bareWindowPainted);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    double vemo = timeToPaint(VEMO_PATH, homePainted);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (bare < 0 || vemo < 0) {
      state.SkipWithError("a window did not paint within 30 seconds");
      return;
    }
    state.SetIterationTime(vemo);
    vemoTotal += vemo;
    bareTotal += bare;
    ++runs;
  }
  state.counters["vemo_ms"] = 1000 * vemoTotal / runs;
  state.counters["bare_gtk_ms"] = 1000 * bareTotal / runs;
  state.counters["ratio"] = vemoTotal / bareTotal;
}
BENCHMARK(BM_StartupToHome)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ResidentMemory(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  for (auto _ : state) {
    pid_t pid = 0;
    if (timeToPaint(VEMO_PATH, homePainted, &pid) < 0) {
      stop(pid);
      state.SkipWithError("the home screen did not paint");
      return;
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));  // thumbnails
    state.counters["rss_home_MiB"] = residentMiB(pid);
    // Twenty stories: the lead reader opened at the first, then paged through nineteen more, each
    // with its picture.
    std::string id = output("xdotool search --onlyvisible --name '^Vemo$' | head -1");
    id = id.substr(0, id.find('\n'));
    output("xdotool mousemove --window " + id + " 60 150 click 1");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    for (int i = 0; i < 19; ++i) {
      output("xdotool windowfocus --sync " + id + " key Right");
      std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    state.counters["rss_20_stories_MiB"] = residentMiB(pid);
    stop(pid);
  }
}
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
