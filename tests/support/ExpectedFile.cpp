#include "tests/support/ExpectedFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace testing_support {
namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The lines that differ, "-" expected and "+" actual, with two lines of context.
std::string difference(const std::string& expected, const std::string& actual) {
  const auto a = lines(expected), b = lines(actual);
  // Everything between the common beginning and the common end differs.
  size_t head = 0, tail = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  std::string out = head > 2 ? "...\n" : "";
  for (size_t i = head > 2 ? head - 2 : 0; i < head; ++i) out += "  " + a[i] + "\n";
  for (size_t i = head; i < a.size() - tail; ++i) out += "- " + a[i] + "\n";
  for (size_t i = head; i < b.size() - tail; ++i) out += "+ " + b[i] + "\n";
  for (size_t i = a.size() - tail; i < a.size() - tail + std::min<size_t>(tail, 2); ++i)
    out += "  " + a[i] + "\n";
  return out + (tail > 2 ? "...\n" : "");
}

}  // namespace

::testing::AssertionResult ExpectedFile::matches(const std::string& relativePath,
                                                 const std::string& actual) {
  const std::filesystem::path path = std::filesystem::path(VEMO_SOURCE_DIR) / relativePath;
  const char* update = std::getenv("VEMO_UPDATE_EXPECTED");
  if (update && std::string(update) == "1") {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << actual;
    return ::testing::AssertionSuccess() << "written " << relativePath;
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream expected;
  if (in) expected << in.rdbuf();  // a missing file expects nothing
  if (in && expected.str() == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << relativePath << (in ? " differs" : " is missing")
         << " (- expected, + actual; VEMO_UPDATE_EXPECTED=1 writes it):\n"
         << difference(expected.str(), actual);
}

}  // namespace testing_support
