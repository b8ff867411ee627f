// Start-up of the desktop program on its demo site, measured from outside by the pixels on the
// X display (run under xvfb-run): the time to the first painted home screen against a bare GTK
// window started in the same run, and the program's resident memory.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "app/gui/RendererChoice.h"

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

struct Rgb {
  int r = 0, g = 0, b = 0;
};

bool beige(const Rgb& p) {
  return std::abs(p.r - 227) < 15 && std::abs(p.g - 218) < 15 && std::abs(p.b - 207) < 15;
}

// One connection to the X display for the whole run: opening one per look costs time, and the
// display stays up between programs even where the server would reset once its last client left.
Display* display() {
  static Display* d = XOpenDisplay(nullptr);
  return d;
}

// Every fourth pixel of every fourth row in the top-left 320 × 480 of the screen (where a window
// opens without a window manager), between rows y0 and y1.
std::vector<Rgb> sample(int y0, int y1) {
  std::vector<Rgb> out;
  XImage* image = XGetImage(display(), DefaultRootWindow(display()), 0, y0, 320,
                            static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
  if (!image) return out;
  for (int y = 0; y < y1 - y0; y += 4) {
    for (int x = 0; x < 320; x += 4) {
      unsigned long p = XGetPixel(image, x, y);
      out.push_back({static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                     static_cast<int>(p & 0xFF)});
    }
  }
  XDestroyImage(image);
  return out;
}

double share(const std::vector<Rgb>& pixels, const std::function<bool(const Rgb&)>& test) {
  if (pixels.empty()) return 0;
  int hits = 0;
  for (const Rgb& p : pixels) hits += test(p) ? 1 : 0;
  return static_cast<double>(hits) / static_cast<double>(pixels.size());
}

// The home screen: beige with story text on it.
bool homePainted() {
  std::vector<Rgb> pixels = sample(64, 460);
  return share(pixels, beige) > 0.4 &&
         share(pixels, [](const Rgb& p) { return p.r + p.g + p.b < 330; }) > 0.02;
}

bool bareWindowPainted() {
  return share(sample(64, 460), beige) > 0.95;
}

// CPU seconds the threads of process `pid` have run so far (nanosecond counts, unlike the
// clock ticks of /proc/PID/stat).
double cpuSeconds(pid_t pid) {
  double total = 0;
  std::error_code ec;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, ec)) {
    std::ifstream in(task.path() / "schedstat");
    double ns = 0;
    if (in >> ns) total += ns / 1e9;
  }
  return total;
}

struct Paint {
  double seconds = -1;    // from spawn to `painted`; -1 after 30 seconds
  double cpuSeconds = 0;  // the program's CPU time until then, all its threads
};

Paint timeToPaint(const char* path, const std::function<bool()>& painted, pid_t* keep = nullptr) {
  // Leaves the screen empty first: the previous window is gone.
  Clock::time_point start = Clock::now();
  pid_t pid = spawn(path);
  Paint paint;
  while (Clock::now() - start < std::chrono::seconds(30)) {
    if (painted()) {
      paint.seconds = std::chrono::duration<double>(Clock::now() - start).count();
      paint.cpuSeconds = cpuSeconds(pid);
      break;
    }
    // Looking costs the display server some work: often enough to be precise, not so often
    // that the looking slows the program being timed.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (keep) {
    *keep = pid;
  } else {
    stop(pid);
  }
  return paint;
}

double residentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// The program timed: VEMO_BENCH_PROGRAM names another build of it (to compare two builds).
const char* program() {
  const char* other = getenv("VEMO_BENCH_PROGRAM");
  return other && *other ? other : VEMO_PATH;
}

bool haveDisplay(benchmark::State& state) {
  // The bare window draws with the renderer the program would choose here (GSK_RENDERER, when
  // set, is kept for both).
  RendererChoice::apply();
  if (display()) return true;
  state.SkipWithError("no X display: run under xvfb-run -a");
  return false;
}

// Min, median and max of `values` (sorted here) into counters named `name`_min/_median/_max.
void spread(benchmark::State& state, const std::string& name, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  state.counters[name + "_min"] = values.front();
  state.counters[name + "_median"] = values[values.size() / 2];
  state.counters[name + "_max"] = values.back();
}

// Another build to time in the same runs (VEMO_BENCH_OTHER), or null.
const char* otherProgram() {
  const char* other = getenv("VEMO_BENCH_OTHER");
  return other && *other ? other : nullptr;
}

// Each start is set against the bare window started just before it, by the time to its first
// frame and, steadier on a busy machine, by the CPU time the program used until then.
void BM_StartupToHome(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  std::vector<double> vemoMs, bareMs, ratios, cpuRatios, otherMs, otherRatios, otherCpuRatios;
  auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(300)); };
  for (auto _ : state) {
    Paint bare = timeToPaint(BARE_WINDOW_PATH, bareWindowPainted);
    pause();
    Paint vemo = timeToPaint(program(), homePainted);
    pause();
    Paint other = otherProgram() ? timeToPaint(otherProgram(), homePainted) : Paint{0, 0};
    if (otherProgram()) pause();
    if (bare.seconds < 0 || vemo.seconds < 0 || other.seconds < 0) {
      state.SkipWithError("a window did not paint within 30 seconds");
      return;
    }
    state.SetIterationTime(vemo.seconds);
    vemoMs.push_back(1000 * vemo.seconds);
    bareMs.push_back(1000 * bare.seconds);
    ratios.push_back(vemo.seconds / bare.seconds);
    cpuRatios.push_back(vemo.cpuSeconds / bare.cpuSeconds);
    otherMs.push_back(1000 * other.seconds);
    otherRatios.push_back(other.seconds / bare.seconds);
    otherCpuRatios.push_back(other.cpuSeconds / bare.cpuSeconds);
  }
  spread(state, "vemo_ms", vemoMs);
  spread(state, "bare_gtk_ms", bareMs);
  spread(state, "ratio", ratios);
  spread(state, "cpu_ratio", cpuRatios);
  if (otherProgram()) {
    spread(state, "other_ms", otherMs);
    spread(state, "other_ratio", otherRatios);
    spread(state, "other_cpu_ratio", otherCpuRatios);
  }
}
BENCHMARK(BM_StartupToHome)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ResidentMemory(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  for (auto _ : state) {
    pid_t pid = 0;
    if (timeToPaint(program(), homePainted, &pid).seconds < 0) {
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
