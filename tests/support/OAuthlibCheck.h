#pragma once
#include <string>

namespace testing_support {

// Runs oauthlib (python3-oauthlib) over every signed request the sandbox at `baseUrl` recorded.
// `consumers` is a form "key=secret&…"; `tokenPaths` the providers' token lists, comma-separated.
// Returns the checker's output: "checked N" and an "invalid METHOD PATH" line per refused one.
std::string oauthlibCheck(const std::string& baseUrl, const std::string& consumers,
                          const std::string& tokenPaths);

}  // namespace testing_support
