#include "tests/support/LoopbackServer.h"

#include <sys/socket.h>

#include <chrono>
#include <stdexcept>

namespace testing_support {

void LoopbackServer::start() {
  socket_t listening = INVALID_SOCKET;
  server_.set_socket_options([&listening](socket_t sock) {
    httplib::default_socket_options(sock);
    listening = sock;
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
  // The library listens with a backlog of 5: many connections at once would be refused and
  // retried a second later. Listening again only makes the queue longer.
  ::listen(listening, 256);
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() before the server runs does nothing, so wait until it does.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void LoopbackServer::stop() {
  if (thread_.joinable()) {
    server_.stop();
    thread_.join();
  }
}

}  // namespace testing_support
