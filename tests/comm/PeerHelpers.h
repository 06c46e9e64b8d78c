#pragma once
// Test peers: a pty whose master side plays the device, and a loopback TCP listener.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/UniqueFd.h"

namespace commtest {

using Bytes = std::vector<std::uint8_t>;

// An RTU frame: the bytes and their CRC, low byte first.
inline Bytes WithCrc(Bytes b) {
  const std::uint16_t crc = corvane::Crc16Modbus(b.data(), b.size());
  b.push_back(static_cast<std::uint8_t>(crc));
  b.push_back(static_cast<std::uint8_t>(crc >> 8));
  return b;
}
inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Reads what arrives within `ms` (stops after 30 ms of silence once something came).
inline Bytes ReadFor(int fd, int ms) {
  Bytes out;
  int wait = ms;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, wait) <= 0 || !(p.revents & POLLIN)) break;
    std::uint8_t buf[1024];
    const ssize_t r = ::read(fd, buf, sizeof buf);
    if (r <= 0) break;
    out.insert(out.end(), buf, buf + r);
    wait = 30;
  }
  return out;
}

inline bool WriteBytes(int fd, const Bytes& b) {
  return b.empty() || ::write(fd, b.data(), b.size()) == static_cast<ssize_t>(b.size());
}

struct PtyPeer {
  corvane::UniqueFd master;
  std::string slavePath;
  bool Open() {
    int m = -1, s = -1;
    char name[128] = {};
    if (::openpty(&m, &s, name, nullptr, nullptr) != 0) return false;
    termios t{};
    ::tcgetattr(s, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(s, TCSANOW, &t);
    ::close(s);
    master.Reset(m);
    slavePath = name;
    return true;
  }
};

struct TcpListener {
  corvane::UniqueFd fd;
  int port = 0;
  bool Open() {
    fd.Reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd.Get(), 4) != 0 ||
        ::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
      return false;
    port = ntohs(sa.sin_port);
    return true;
  }
  corvane::UniqueFd Accept() { return corvane::UniqueFd(::accept4(fd.Get(), nullptr, nullptr, SOCK_CLOEXEC)); }
};

inline int LoopbackNet() { return static_cast<int>(htonl(INADDR_LOOPBACK)); }

}  // namespace commtest
