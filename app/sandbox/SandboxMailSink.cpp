#include "app/sandbox/SandboxMailSink.h"
#include "platform/base/Strings.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace {

bool sendLine(int fd, const std::string& line) {
  std::string out = line + "\r\n";
  return ::send(fd, out.data(), out.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(out.size());
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The address inside "<…>" of a MAIL FROM or RCPT TO argument.
std::string angleAddress(std::string_view argument) {
  size_t open = argument.find('<'), close = argument.find('>');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return std::string(argument);
  return std::string(argument.substr(open + 1, close - open - 1));
}

}  // namespace

SandboxMailSink::~SandboxMailSink() {
  stop();
}

bool SandboxMailSink::start() {
  if (thread_.joinable()) return true;
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return false;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof addr;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    ::close(listener_);
    listener_ = -1;
    return false;
  }
  port_ = ntohs(addr.sin_port);
  stopping_ = false;
  thread_ = std::thread([this] { serve(); });
  return true;
}

void SandboxMailSink::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  ::shutdown(listener_, SHUT_RDWR);  // wakes the blocked accept
  thread_.join();
  ::close(listener_);
  listener_ = -1;
  port_ = 0;
}

void SandboxMailSink::serve() {
  while (!stopping_) {
    int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
      if (stopping_ || errno == EINVAL || errno == EBADF) return;
      continue;
    }
    timeval timeout{30, 0};
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    converse(client);
    ::close(client);
  }
}

void SandboxMailSink::converse(int client) {
  if (!sendLine(client, "220 vemo-sandbox ESMTP")) return;
  std::string buffer;
  Message message;
  bool inData = false, tooBig = false;
  char chunk[65536];
  while (!stopping_) {
    // Lines are taken from `start` on; the used part is dropped once per read.
    size_t start = 0, end;
    while ((end = buffer.find("\r\n", start)) != std::string::npos) {
      std::string line = buffer.substr(start, end - start);
      start = end + 2;
      if (inData) {
        if (line == ".") {
          inData = false;
          if (tooBig) {
            sendLine(client, "552 Message too large");
          } else {
            std::lock_guard lock(mutex_);
            messages_.push_back(std::move(message));
            if (messages_.size() > kMaxKeptMessages) messages_.erase(messages_.begin());
            sendLine(client, "250 Message kept");
          }
          message = Message{};
          tooBig = false;
          continue;
        }
        if (line.starts_with('.')) line.erase(0, 1);
        if (message.data.size() + line.size() + 2 > kMaxMessageBytes) tooBig = true;
        if (!tooBig) message.data += line + "\r\n";
        continue;
      }
      std::string verb = upper(line.substr(0, line.find(' ')));
      std::string argument = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
      if (verb == "EHLO") {
        sendLine(client, "250-vemo-sandbox");
        sendLine(client, "250 SIZE " + std::to_string(kMaxMessageBytes));
      } else if (verb == "HELO" || verb == "NOOP") {
        sendLine(client, "250 OK");
      } else if (verb == "RSET") {
        message = Message{};
        sendLine(client, "250 OK");
      } else if (verb == "MAIL") {
        message = Message{};
        message.from = angleAddress(argument);
        sendLine(client, "250 OK");
      } else if (verb == "RCPT") {
        message.recipients.push_back(angleAddress(argument));
        sendLine(client, "250 OK");
      } else if (verb == "DATA") {
        if (message.recipients.empty()) {
          sendLine(client, "503 No recipients");
        } else {
          inData = true;
          sendLine(client, "354 End with <CRLF>.<CRLF>");
        }
      } else if (verb == "QUIT") {
        sendLine(client, "221 Bye");
        return;
      } else {
        sendLine(client, "502 Command not implemented");
      }
    }
    buffer.erase(0, start);
    // A command line never gets this long; a message line is bounded by the size check above.
    if (!inData && buffer.size() > 4096) {
      sendLine(client, "500 Line too long");
      return;
    }
    ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
    if (n <= 0) return;
    buffer.append(chunk, static_cast<size_t>(n));
  }
}

std::vector<SandboxMailSink::Message> SandboxMailSink::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void SandboxMailSink::clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

std::string SandboxMailSink::html() const {
  std::string out = "<h2>Mail</h2>";
  auto kept = messages();
  if (kept.empty()) return out + "<p>No messages yet.</p>";
  for (const Message& m : kept) {
    std::string to;
    for (const std::string& r : m.recipients) to += (to.empty() ? "" : ", ") + r;
    out += "<h3>From " + base::escapeHtml(m.from) + " to " + base::escapeHtml(to) + "</h3><pre>" +
           base::escapeHtml(m.data.substr(0, 64 * 1024)) + (m.data.size() > 64 * 1024 ? "…" : "") +
           "</pre>";
  }
  return out;
}
