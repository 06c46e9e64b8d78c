#include "libs/portlink/FdIo.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace corvane::fdio {

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {
int PollFor(int fd, short events, int timeoutMs) {
  if (fd < 0) return -1;
  const std::int64_t deadline = NowMs() + (timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    pollfd p{fd, events, 0};
    const std::int64_t left = deadline - NowMs();
    const int r = ::poll(&p, 1, left > 0 ? static_cast<int>(left) : 0);
    if (r > 0) return (p.revents & (events | POLLHUP | POLLERR)) ? 1 : -1;
    if (r == 0) return 0;
    if (errno != EINTR) return -1;
  }
}
}  // namespace

int WaitReadable(int fd, int timeoutMs) { return PollFor(fd, POLLIN, timeoutMs); }

long ReadSome(int fd, std::uint8_t* buf, std::size_t n, int timeoutMs) {
  if (n == 0) return kFailed;
  const std::int64_t deadline = NowMs() + (timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    const std::int64_t left = deadline - NowMs();
    const int w = PollFor(fd, POLLIN, left > 0 ? static_cast<int>(left) : 0);
    if (w == 0) return kTimedOut;
    if (w < 0) return kFailed;
    const ssize_t r = ::read(fd, buf, n);
    if (r > 0) return r;
    if (r == 0) return kClosed;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
      if (NowMs() >= deadline) return kTimedOut;
      continue;
    }
    // A pty whose other side went away reports EIO: the peer is gone.
    return errno == EIO || errno == ECONNRESET ? kClosed : kFailed;
  }
}

long ReadExact(int fd, std::uint8_t* buf, std::size_t n, int timeoutMs) {
  const std::int64_t deadline = NowMs() + (timeoutMs < 0 ? 0 : timeoutMs);
  std::size_t got = 0;
  while (got < n) {
    const std::int64_t left = deadline - NowMs();
    const long r = ReadSome(fd, buf + got, n - got, left > 0 ? static_cast<int>(left) : 0);
    if (r <= 0) return r;
    got += static_cast<std::size_t>(r);
  }
  return static_cast<long>(got);
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t n, int timeoutMs, bool socket) {
  const std::int64_t deadline = NowMs() + (timeoutMs < 0 ? 0 : timeoutMs);
  std::size_t sent = 0;
  while (sent < n) {
    // A closed socket must not kill the program: MSG_NOSIGNAL, which only send() takes.
    ssize_t r = socket ? ::send(fd, data + sent, n - sent, MSG_NOSIGNAL) : ::write(fd, data + sent, n - sent);
    if (r < 0 && errno == ENOTSOCK) r = ::write(fd, data + sent, n - sent);
    if (r > 0) {
      sent += static_cast<std::size_t>(r);
      continue;
    }
    if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    const std::int64_t left = deadline - NowMs();
    if (left <= 0) return false;
    if (PollFor(fd, POLLOUT, static_cast<int>(left)) <= 0) return false;
  }
  return true;
}

}  // namespace corvane::fdio
