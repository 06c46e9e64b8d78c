#include "libs/portlink/TcpConnect.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "libs/portlink/FdIo.h"

namespace corvane {

UniqueFd ConnectTcp(std::uint32_t addressNet, int port, int timeoutMs, int* errorOut) {
  int dummy = 0;
  int& err = errorOut ? *errorOut : dummy;
  err = 0;
  if (port <= 0 || port > 65535) {
    err = EINVAL;
    return {};
  }
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) {
    err = errno;
    return {};
  }
  const int one = 1;
  ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<std::uint16_t>(port));
  sa.sin_addr.s_addr = addressNet;
  if (::connect(fd.Get(), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) return fd;
  if (errno != EINPROGRESS) {
    err = errno;
    return {};
  }
  const std::int64_t deadline = fdio::NowMs() + timeoutMs;
  for (;;) {
    pollfd p{fd.Get(), POLLOUT, 0};
    const std::int64_t left = deadline - fdio::NowMs();
    const int r = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (r == 0) {
      err = ETIMEDOUT;
      return {};
    }
    if (r < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return {};
    }
    break;
  }
  int soError = 0;
  socklen_t len = sizeof soError;
  if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
    err = soError ? soError : errno;
    return {};
  }
  return fd;
}

}  // namespace corvane
