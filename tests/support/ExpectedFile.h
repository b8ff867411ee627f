#pragma once
#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// Compares text against a reviewed file under tests/ (path relative to the source tree). A
// mismatch fails with the differing lines marked "-" (expected) and "+" (actual) around a little
// context. With VEMO_UPDATE_EXPECTED=1 in the environment the file is written instead and the
// check passes: review the change with `git diff` before committing it.
class ExpectedFile {
 public:
  static ::testing::AssertionResult matches(const std::string& relativePath,
                                            const std::string& actual);
};

}  // namespace testing_support
