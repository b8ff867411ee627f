#include "tests/support/ExpectedFile.h"

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

}  // namespace

std::string ExpectedFile::difference(const std::string& expected, const std::string& actual) {
  const auto a = lines(expected), b = lines(actual);
  // Longest common subsequence, then the edit script with two lines of context.
  const size_t n = a.size(), m = b.size();
  std::vector<std::vector<size_t>> common(n + 1, std::vector<size_t>(m + 1, 0));
  for (size_t i = n; i-- > 0;)
    for (size_t j = m; j-- > 0;)
      common[i][j] =
          a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  std::vector<std::pair<char, std::string>> script;
  size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && a[i] == b[j]) {
      script.push_back({' ', a[i++]});
      ++j;
    } else if (j < m && (i == n || common[i][j + 1] >= common[i + 1][j])) {
      script.push_back({'+', b[j++]});
    } else {
      script.push_back({'-', a[i++]});
    }
  }
  std::string out;
  bool skipped = false;
  for (size_t k = 0; k < script.size(); ++k) {
    bool near = false;
    for (size_t d = k >= 2 ? k - 2 : 0; d <= k + 2 && d < script.size(); ++d)
      near = near || script[d].first != ' ';
    if (!near) {
      if (!skipped) out += "...\n";
      skipped = true;
      continue;
    }
    skipped = false;
    out += script[k].first + std::string(" ") + script[k].second + "\n";
  }
  return out;
}

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
  if (!in) {
    return ::testing::AssertionFailure()
           << relativePath << " is missing; VEMO_UPDATE_EXPECTED=1 writes it. Actual:\n"
           << actual;
  }
  std::stringstream expected;
  expected << in.rdbuf();
  if (expected.str() == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << relativePath << " differs (- expected, + actual; VEMO_UPDATE_EXPECTED=1 rewrites it):\n"
         << difference(expected.str(), actual);
}

}  // namespace testing_support
