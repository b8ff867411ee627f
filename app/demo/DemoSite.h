#pragma once
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "app/servers/LoopbackSite.h"
#include "platform/base/DataDir.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// Serves the demo news site (menu, feeds, article pages, tools page, pictures) from a folder
// on a loopback port, on a thread of its own. The text files write every address with the
// placeholder "{{SITE}}", which is replaced by baseUrl() as they are served, so the links lead
// back to this server whatever port it got. The site asks for the same port at every start, so
// that the links of stories saved from it still lead to it after a restart; when that port is
// taken it runs on a free one.
class DemoSite : public LoopbackSite {
 public:
  static constexpr int kPreferredPort = 61080;

  explicit DemoSite(std::filesystem::path root = base::dataFile("sample-site"),
                    int preferredPort = kPreferredPort);
  ~DemoSite() override;
  DemoSite(const DemoSite&) = delete;
  DemoSite& operator=(const DemoSite&) = delete;

  // Binds 127.0.0.1 on the preferred port, else on a free one, and returns once the port
  // listens (the serving thread may still be starting: connections wait for it). False when the
  // folder is missing or no port can be bound. Starting a running site does nothing.
  bool start() override;
  void stop() override;
  bool running() const override { return thread_.joinable(); }
  // "http://127.0.0.1:PORT" while running, empty otherwise.
  std::string baseUrl() const override;
  // The base address on the preferred port: where the links of earlier runs lead.
  std::string preferredBaseUrl() const override;
  const std::filesystem::path& root() const { return root_; }

  static constexpr const char* kPlaceholder = "{{SITE}}";

 private:
  void serve(const httplib::Request& request, httplib::Response& response) const;

  std::filesystem::path root_;
  std::filesystem::path canonicalRoot_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> listenEnded_{false};
  int preferredPort_;
  int port_ = 0;
};
