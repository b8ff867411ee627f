#pragma once
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "platform/base/DataDir.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// Serves the demo news site (menu, feeds, article pages, tools page, pictures) from a folder
// on a free loopback port, on a thread of its own. The text files write every address with the
// placeholder "{{SITE}}", which is replaced by baseUrl() as they are served, so the links lead
// back to this server whatever port it got.
class DemoSite {
 public:
  explicit DemoSite(std::filesystem::path root = base::dataFile("sample-site"));
  ~DemoSite();
  DemoSite(const DemoSite&) = delete;
  DemoSite& operator=(const DemoSite&) = delete;

  // Binds 127.0.0.1 on a free port and returns once the server accepts connections. False when
  // the folder is missing or the server cannot run. Starting a running site does nothing.
  bool start();
  void stop();
  bool running() const { return thread_.joinable(); }
  // "http://127.0.0.1:PORT" while running, empty otherwise.
  std::string baseUrl() const;
  const std::filesystem::path& root() const { return root_; }

  static constexpr const char* kPlaceholder = "{{SITE}}";

 private:
  void serve(const httplib::Request& request, httplib::Response& response) const;

  std::filesystem::path root_;
  std::filesystem::path canonicalRoot_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> listenEnded_{false};
  int port_ = 0;
};
