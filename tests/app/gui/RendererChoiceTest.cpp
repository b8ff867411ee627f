#include "app/gui/RendererChoice.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TempDir.h"

TEST(RendererChoice, CairoOnlyWithoutAGpuAndWithoutTheUsersOwnChoice) {
  testing_support::TempDir temp;
  std::filesystem::create_directories(temp / "gpu");
  std::ofstream(temp / "gpu" / "card0").put('x');
  std::ofstream(temp / "gpu" / "renderD128").put('x');
  std::filesystem::create_directories(temp / "display-only");
  std::ofstream(temp / "display-only" / "card0").put('x');
  const struct {
    const char* chosen;
    const char* devices;
    const char* expected;  // nullptr: GTK's own choice
  } cases[] = {
      {nullptr, "gpu", nullptr}, {nullptr, "display-only", "cairo"}, {nullptr, "missing", "cairo"},
      {"", "missing", "cairo"},  {"gl", "missing", nullptr},         {"vulkan", "gpu", nullptr},
  };
  for (const auto& c : cases) {
    const char* got = RendererChoice::rendererFor(c.chosen, temp / c.devices);
    EXPECT_STREQ(got, c.expected) << (c.chosen ? c.chosen : "(unset)") << " " << c.devices;
  }
}
