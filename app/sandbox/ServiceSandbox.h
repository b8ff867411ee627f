#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>

#include "app/sandbox/RequestLog.h"
#include "app/sandbox/SandboxMailSink.h"
#include "app/sandbox/SandboxRequest.h"
#include "app/servers/LoopbackSandbox.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

// A loopback stand-in for the share services' web services, so a share can be tried end to end
// without the internet. Every host of every service has its own base path,
// "/<class name>/<host key>/", followed by the service's own path. Every request to those paths is
// kept and can be seen as JSON at "/_sandbox/requests" (DELETE forgets them) or as a page at
// "/_sandbox/". Endpoints answer through handlers added with handle(); a request no handler takes
// is answered 404. Bodies over 16 MiB are answered 413, malformed requests 400.
class ServiceSandbox : public LoopbackSandbox {
 public:
  using Handler = std::function<void(const SandboxRequest&, httplib::Response&)>;

  static constexpr std::size_t kMaxBodyBytes = 16u << 20;
  static constexpr std::size_t kMaxKeptRequests = 1000;
  static constexpr std::size_t kMaxKeptBytes = 64u << 20;

  ServiceSandbox();
  ~ServiceSandbox() override;
  ServiceSandbox(const ServiceSandbox&) = delete;
  ServiceSandbox& operator=(const ServiceSandbox&) = delete;

  // Answers `method` requests for `path` (from "/", without query) on a service's host. Handlers
  // run on the server's threads; they may be added while it runs.
  void handle(std::string service, std::string host, std::string method, std::string path,
              Handler handler);
  // The sandbox's logins accept any user whose password is not "wrong", so a refused login can be
  // tried too.
  static bool acceptsLogin(std::string_view password) { return password != "wrong"; }

  // Binds 127.0.0.1 at `port` (0: a free one) and serves on a thread of its own; false when the
  // port cannot be bound.
  bool start(int port = 0) override;
  void stop();
  int port() const { return port_; }
  // "http://127.0.0.1:PORT" while running.
  std::string baseUrl() const override;

  RequestLog& log() { return log_; }
  // The SMTP server that keeps the mail sent to the sandbox (shown on the page, and as JSON at
  // "/_sandbox/mail"); it runs while the sandbox does.
  SandboxMailSink& mailSink() { return mailSink_; }
  int mailPort() const override { return mailSink_.port(); }

 private:
  void serve(const httplib::Request& request, std::string body, httplib::Response& response);
  static SandboxRequest describe(const httplib::Request& request, std::string body);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::atomic<bool> listenEnded_{false};
  int port_ = 0;
  RequestLog log_{kMaxKeptRequests, kMaxKeptBytes};
  SandboxMailSink mailSink_;
  std::mutex handlersMutex_;
  std::map<std::tuple<std::string, std::string, std::string, std::string>, Handler> handlers_;
};
