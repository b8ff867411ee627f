#pragma once
#include <string>

// A web site this process serves on a loopback port (the demo news site), as the reader's
// commands and window use it.
class LoopbackSite {
 public:
  virtual ~LoopbackSite() = default;

  // Binds a loopback port and returns once it listens; false when the site cannot be served.
  // Starting a running site does nothing.
  virtual bool start() = 0;
  virtual void stop() = 0;
  virtual bool running() const = 0;
  // "http://127.0.0.1:PORT" while running, empty otherwise.
  virtual std::string baseUrl() const = 0;
  // The base address on the port the site asks for first: where the links of earlier runs lead.
  virtual std::string preferredBaseUrl() const = 0;
};
