#include "platform/base/TextFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFormat, ValuesAreCopiedAndMismatchesAreErrors) {
  // A server's error text full of specifiers is only ever a value.
  const std::string server = "bad %n%s%@ %d 100%";
  // Format, values, the text (nullopt: a FormatError).
  const std::tuple<std::string, std::vector<base::FormatArg>, std::optional<std::string>> rows[] = {
      {"Send to %@", {server}, "Send to " + server},
      {"%@ (%d%%)", {server, 42}, server + " (42%)"},
      {"%% %@ %i", {server, -7}, "% " + server + " -7"},
      {"%@ bytes", {1024}, "1024 bytes"},
      {"no specifiers", {}, "no specifiers"},
      {"Send to %@", {}, std::nullopt},
      {"Send to %@", {"a", "b"}, std::nullopt},
      {"%d items", {"many"}, std::nullopt},
      {"%s", {"x"}, std::nullopt},
      {"%n", {1}, std::nullopt},
      {"100%", {}, std::nullopt},
      {"%1$@", {"x"}, std::nullopt},
      {server, {}, std::nullopt}};
  for (const auto& [format, args, expected] : rows) {
    SCOPED_TRACE(format);
    if (expected) {
      EXPECT_EQ(base::formatText(format, args), *expected);
    } else {
      EXPECT_THROW(base::formatText(format, args), base::FormatError);
    }
  }
}

}  // namespace
