#include "app/sandbox/SandboxHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

namespace {

// A request line longer than this is handed on as it is (the server refuses it).
constexpr size_t kMaxRequestLine = 16 * 1024;
constexpr int kStopCheckMilliseconds = 50;

int milliseconds(time_t seconds, time_t microseconds) {
  return static_cast<int>(seconds * 1000 + microseconds / 1000);
}

bool ready(int sock, short events, int timeoutMs) {
  pollfd fd{sock, events, 0};
  int n;
  do {
    n = poll(&fd, 1, timeoutMs);
  } while (n < 0 && errno == EINTR);
  return n > 0;
}

void describe(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

// One connection as the server reads it. The line of each request is read ahead and handed on
// with the later "?"s of its target escaped; the rest passes through.
class RequestStream : public httplib::Stream {
 public:
  RequestStream(int sock, int readMs, int writeMs)
      : sock_(sock), readMs_(readMs), writeMs_(writeMs) {}

  // Whether the peer sent more within `timeoutMs`.
  bool hasMore(int timeoutMs) const {
    return offset_ < ahead_.size() || ready(sock_, POLLIN, timeoutMs);
  }
  // Reads the next request's line ahead; false when the peer sent nothing.
  bool readRequestLine() {
    ahead_.erase(0, offset_);
    offset_ = 0;
    size_t end;
    while ((end = ahead_.find('\n')) == std::string::npos && ahead_.size() < kMaxRequestLine) {
      char chunk[4096];
      ssize_t n = ready(sock_, POLLIN, readMs_) ? recv(sock_, chunk, sizeof chunk, 0) : -1;
      if (n <= 0) return !ahead_.empty();
      ahead_.append(chunk, static_cast<size_t>(n));
    }
    originalTarget_.reset();
    if (end == std::string::npos) return true;
    std::string line = ahead_.substr(0, end);
    std::string original = line;
    if (SandboxHttpServer::escapeLaterQuestionMarks(line)) {
      size_t start = original.find(' ') + 1;
      originalTarget_ = original.substr(start, original.find(' ', start) - start);
      ahead_.replace(0, end, line);
    }
    return true;
  }
  // The target as sent, when the server is given another.
  const std::optional<std::string>& originalTarget() const { return originalTarget_; }

  bool is_readable() const override { return hasMore(readMs_); }
  bool is_writable() const override { return ready(sock_, POLLOUT, writeMs_); }
  ssize_t read(char* ptr, size_t size) override {
    if (offset_ < ahead_.size()) {
      size_t n = std::min(size, ahead_.size() - offset_);
      std::memcpy(ptr, ahead_.data() + offset_, n);
      offset_ += n;
      return static_cast<ssize_t>(n);
    }
    if (!ready(sock_, POLLIN, readMs_)) return -1;
    ssize_t n;
    do {
      n = recv(sock_, ptr, size, 0);
    } while (n < 0 && errno == EINTR);
    return n;
  }
  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    ssize_t n;
    do {
      n = send(sock_, ptr, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getpeername(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
      describe(address, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
      describe(address, ip, port);
  }
  socket_t socket() const override { return sock_; }

 private:
  int sock_;
  int readMs_;
  int writeMs_;
  std::string ahead_;
  size_t offset_ = 0;
  std::optional<std::string> originalTarget_;
};

}  // namespace

bool SandboxHttpServer::escapeLaterQuestionMarks(std::string& line) {
  size_t start = line.find(' ');
  if (start == std::string::npos) return false;
  size_t end = line.find(' ', start + 1);
  if (end == std::string::npos) end = line.size();
  size_t first = line.find('?', start + 1);
  if (first >= end) return false;
  bool changed = false;
  for (size_t i = first + 1; i < end; ++i) {
    if (line[i] != '?') continue;
    line.replace(i, 1, "%3F");
    i += 2;
    end += 2;
    changed = true;
  }
  return changed;
}

bool SandboxHttpServer::process_and_close_socket(socket_t sock) {
  RequestStream stream(sock, milliseconds(read_timeout_sec_, read_timeout_usec_),
                       milliseconds(write_timeout_sec_, write_timeout_usec_));
  // Like the server's own loop: requests while the connection is kept alive and the server runs.
  bool served = false;
  for (size_t left = keep_alive_max_count_; left > 0 && svr_sock_ != INVALID_SOCKET; --left) {
    auto idleUntil =
        std::chrono::steady_clock::now() + std::chrono::seconds(keep_alive_timeout_sec_);
    bool more = false;
    while (!(more = stream.hasMore(kStopCheckMilliseconds)) && svr_sock_ != INVALID_SOCKET &&
           std::chrono::steady_clock::now() < idleUntil) {
    }
    if (!more || !stream.readRequestLine()) break;
    bool closed = false;
    served = process_request(stream, left == 1, closed, [&stream](httplib::Request& request) {
      if (stream.originalTarget()) request.target = *stream.originalTarget();
    });
    if (!served || closed) break;
  }
  shutdown(sock, SHUT_RDWR);
  close(sock);
  return served;
}
