#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/gui/RendererChoice.h"
#include "tests/support/TempDir.h"

namespace {

std::string get(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "-";
}

}  // namespace

// Without a render node GTK draws with Cairo and neither GTK nor WebKit tries GL, unless the user
// chose a renderer; a display-only card is no GPU.
TEST(RendererEnvironment, WithoutAGpuGlIsOffForGtkAndWebKitUnlessTheUserChose) {
  testing_support::TempDir temp;
  for (const char* device : {"gpu/card0", "gpu/renderD128", "display-only/card0"}) {
    std::filesystem::create_directories((temp / device).parent_path());
    std::ofstream(temp / device).put('x');
  }
  const struct {
    const char *devices, *renderer, *debug;  // the variables before; nullptr: unset
    const char* want;  // GSK_RENDERER, GDK_DEBUG and WEBKIT_DISABLE_COMPOSITING_MODE after
  } cases[] = {
      {"missing", nullptr, nullptr, "cairo gl-disable 1"},
      {"display-only", "", nullptr, "cairo gl-disable 1"},
      {"missing", nullptr, "interactive", "cairo interactive,gl-disable 1"},
      {"missing", nullptr, "gl-legacy", "cairo gl-legacy,gl-disable 1"},
      {"missing", nullptr, "misc:gl-disable", "cairo misc:gl-disable 1"},
      {"missing", "gl", nullptr, "gl - -"},
      {"gpu", nullptr, "misc", "- misc -"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.devices) + " " + (c.debug ? c.debug : "-"));
    c.renderer ? setenv("GSK_RENDERER", c.renderer, 1) : unsetenv("GSK_RENDERER");
    c.debug ? setenv("GDK_DEBUG", c.debug, 1) : unsetenv("GDK_DEBUG");
    unsetenv("WEBKIT_DISABLE_COMPOSITING_MODE");
    RendererChoice::apply(temp / c.devices);
    EXPECT_EQ(
        get("GSK_RENDERER") + " " + get("GDK_DEBUG") + " " + get("WEBKIT_DISABLE_COMPOSITING_MODE"),
        c.want);
  }
}
