#pragma once
#include <httplib.h>

#include <string>

// The sandbox's HTTP server: cpp-httplib's, except that it takes a request whose query holds
// a "?" (legal in a query, and what the services' form values leave unescaped) as a real server
// does, where cpp-httplib would answer 400. Such a target reaches the server's parser with the
// later "?"s escaped, so its parameters decode to what was sent, and the handlers see the
// target exactly as it was sent.
class SandboxHttpServer : public httplib::Server {
 public:
  // The request line with every "?" after the first in its target escaped ("%3F"); `line` is
  // one line without its end. Returns whether anything changed.
  static bool escapeLaterQuestionMarks(std::string& line);

 private:
  bool process_and_close_socket(socket_t sock) override;
};
