#pragma once
#include <string>

// The share services' stand-in this process serves on loopback ports, as the program's options
// use it: its web services' base address and the port of its mail sink.
class LoopbackSandbox {
 public:
  virtual ~LoopbackSandbox() = default;

  // Binds 127.0.0.1 at `port` (0: a free one); false when the port cannot be bound.
  virtual bool start(int port = 0) = 0;
  // "http://127.0.0.1:PORT" while running.
  virtual std::string baseUrl() const = 0;
  // The port of the SMTP server keeping the mail sent to the sandbox.
  virtual int mailPort() const = 0;
};
