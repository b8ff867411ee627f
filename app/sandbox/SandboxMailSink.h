#pragma once
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The sandbox's SMTP server on 127.0.0.1: it takes every message (no login, no encryption,
// which the mail client allows only for loopback servers) and keeps the last ones in memory.
// One connection at a time; an idle client is dropped after 30 seconds.
class SandboxMailSink {
 public:
  struct Message {
    std::string from;
    std::vector<std::string> recipients;
    std::string data;  // the message as sent, dots unstuffed
  };
  static constexpr std::size_t kMaxMessageBytes = 32u << 20;
  static constexpr std::size_t kMaxKeptMessages = 100;

  SandboxMailSink() = default;
  ~SandboxMailSink();
  SandboxMailSink(const SandboxMailSink&) = delete;
  SandboxMailSink& operator=(const SandboxMailSink&) = delete;

  // Binds a free port; false when it cannot.
  bool start();
  void stop();
  int port() const { return port_; }
  std::vector<Message> messages() const;
  void clear();
  // The messages as an HTML list (envelope, then the text escaped).
  std::string html() const;

 private:
  void serve();
  void converse(int client);

  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};
