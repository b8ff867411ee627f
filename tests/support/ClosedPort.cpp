#include "tests/support/ClosedPort.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

int closedPort() {
  // Binding to port 0 picks a free port; closing the socket leaves nothing listening there.
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace testing_support
