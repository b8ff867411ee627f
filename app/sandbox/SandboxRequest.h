#pragma once
#include <string>
#include <utility>
#include <vector>

// One request the service sandbox received, as it came: the share service and host it was sent
// to (from the first two parts of its path), the rest of the path and the query still escaped.
struct SandboxRequest {
  std::string service;  // a share service's class name, or "" when the path names none
  std::string host;     // one of the service's host keys
  std::string method;
  std::string path;  // the service's own path, from "/" (the whole path when no service)
  std::string query;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
};
