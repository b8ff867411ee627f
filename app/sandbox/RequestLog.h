#pragma once
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

#include "app/sandbox/SandboxRequest.h"

// The requests the sandbox received, oldest first, bounded: past `maxRequests` or `maxBytes` of
// bodies the oldest are forgotten. Thread-safe.
class RequestLog {
 public:
  RequestLog(std::size_t maxRequests, std::size_t maxBytes)
      : maxRequests_(maxRequests), maxBytes_(maxBytes) {}

  void add(SandboxRequest request);
  void clear();
  std::deque<SandboxRequest> requests() const;

  // [{"service", "host", "method", "path", "query", "headers": [[name, value], …],
  //   "body_base64"}, …]
  std::string json() const;
  // A page listing the requests for a person.
  std::string html() const;

 private:
  const std::size_t maxRequests_;
  const std::size_t maxBytes_;
  mutable std::mutex mutex_;
  std::deque<SandboxRequest> requests_;
  std::size_t bytes_ = 0;
};
