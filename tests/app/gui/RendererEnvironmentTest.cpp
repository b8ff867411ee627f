#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/gui/RendererChoice.h"
#include "tests/support/TempDir.h"

namespace {

const char* const kNames[] = {"GSK_RENDERER", "GDK_DEBUG", "WEBKIT_DISABLE_COMPOSITING_MODE"};

void set(const char* name, const char* value) {
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
}

std::string get(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "(unset)";
}

}  // namespace

TEST(RendererEnvironment, WithoutAGpuGlIsOffForGtkAndWebKitUnlessTheUserChose) {
  testing_support::TempDir temp;
  std::filesystem::create_directories(temp / "gpu");
  std::ofstream(temp / "gpu" / "renderD128").put('x');
  const struct {
    const char* devices;
    const char* renderer;  // nullptr: unset before
    const char* debug;
    const char* wantRenderer;
    const char* wantDebug;
    const char* wantWebKit;
  } cases[] = {
      {"none", nullptr, nullptr, "cairo", "gl-disable", "1"},
      {"none", "", nullptr, "cairo", "gl-disable", "1"},
      {"none", nullptr, "interactive", "cairo", "interactive,gl-disable", "1"},
      {"none", nullptr, "gl-legacy", "cairo", "gl-legacy,gl-disable", "1"},
      {"none", nullptr, "misc:gl-disable", "cairo", "misc:gl-disable", "1"},
      {"none", "gl", nullptr, "gl", "(unset)", "(unset)"},
      {"gpu", nullptr, "misc", "(unset)", "misc", "(unset)"},
  };
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; ++i) {
    had[i] = std::getenv(kNames[i]) != nullptr;
    saved[i] = get(kNames[i]);
  }
  for (const auto& c : cases) {
    set("GSK_RENDERER", c.renderer);
    set("GDK_DEBUG", c.debug);
    unsetenv("WEBKIT_DISABLE_COMPOSITING_MODE");
    RendererChoice::apply(temp / c.devices);
    const std::string label = std::string(c.devices) + " " + (c.debug ? c.debug : "-");
    EXPECT_EQ(get("GSK_RENDERER"), c.wantRenderer) << label;
    EXPECT_EQ(get("GDK_DEBUG"), c.wantDebug) << label;
    EXPECT_EQ(get("WEBKIT_DISABLE_COMPOSITING_MODE"), c.wantWebKit) << label;
  }
  for (int i = 0; i < 3; ++i) set(kNames[i], had[i] ? saved[i].c_str() : nullptr);
}
