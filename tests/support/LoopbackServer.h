#pragma once
#include <httplib.h>

#include <string>
#include <thread>

namespace testing_support {

// A cpp-httplib server on 127.0.0.1 at a free port, running on its own thread while alive.
// Register handlers on server() before calling start().
class LoopbackServer {
 public:
  LoopbackServer() = default;
  ~LoopbackServer() { stop(); }

  httplib::Server& server() { return server_; }
  // Binds, starts the thread and waits until the server accepts connections.
  void start();
  void stop();
  int port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by `path`.
  std::string url(const std::string& path = "") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace testing_support
