#include "platform/base/TextFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(TextFormat, ValuesAreCopiedAndMismatchesAreErrors) {
  // A server's error text full of specifiers is only ever a value.
  const std::string server = "bad %n%s%@ %d 100%";
  struct Row {
    std::string format;
    std::vector<base::FormatArg> args;
    std::optional<std::string> expected;  // nullopt: FormatError
  };
  const Row rows[] = {
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
      {server, {}, std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    if (row.expected) {
      EXPECT_EQ(base::formatText(row.format, row.args), *row.expected);
    } else {
      EXPECT_THROW(base::formatText(row.format, row.args), base::FormatError);
    }
  }
}

}  // namespace
