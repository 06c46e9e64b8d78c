#include "libs/buslink/BusLink.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "libs/buslink/BusLinkState.h"
#include "libs/portlink/FdIo.h"
#include "libs/portlink/LinkTrace.h"
#include "libs/portlink/ModbusFrame.h"

namespace corvane::buslink {

State& Instance() {
  static State state;
  return state;
}

bool IsLocalAddress(std::uint32_t addressNet) {
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  bool found = false;
  for (ifaddrs* a = list; a && !found; a = a->ifa_next)
    if (a->ifa_addr && a->ifa_addr->sa_family == AF_INET)
      found = reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr.s_addr == addressNet;
  ::freeifaddrs(list);
  return found;
}

// A datagram for the link tracer, named by the address it went to or came from.
void TraceDatagram(trace::Direction direction, const sockaddr_in& peer, const unsigned char* data, int length) {
  if (!trace::LinkTrace::Active()) return;
  char address[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &peer.sin_addr, address, sizeof address);
  trace::TraceEvent e;
  e.timeUs = fdio::NowUs();
  e.direction = direction;
  e.link = std::string("UDP ") + address + ":" + std::to_string(ntohs(peer.sin_port));
  e.framing = trace::Framing::Raw;
  e.bytes = std::span<const std::uint8_t>(data, static_cast<std::size_t>(std::max(length, 0)));
  trace::LinkTrace::Emit(e);
}

}  // namespace corvane::buslink

using corvane::buslink::Instance;
using corvane::buslink::State;
namespace mb = corvane::modbus;
namespace fdio = corvane::fdio;

namespace {
int SerialResult(State& s, int r) {
  if (r <= 0) s.lastSerialErr = r ? r : mb::kTimeout;
  return r;
}
int SocketResult(State& s, int r) {
  if (r <= 0) s.lastSocketErr = r ? r : mb::kTimeout;
  return r;
}
// The link the Modbus and raw calls go to: the datagram socket, a TCP connection or the line.
enum class Route { None, Udp, Tcp, Serial };
Route RouteOf(const State& s) {
  if (s.udp) return Route::Udp;
  if (s.tcpConn) return Route::Tcp;
  if (s.serialOpen) return Route::Serial;
  return Route::None;
}
}  // namespace

extern "C" {

int OpenModbusSerial(void) {
  State& s = Instance();
  CloseSerial();
  s.link.SetStationAddr(s.station);
  s.link.SetModbusMode(s.mode);
  const int r = s.link.OpenSerial(s.port, s.baud, s.dataLen, s.parity, s.stopBits);
  if (r > 0) s.serialOpen = s.port;
  return SerialResult(s, r);
}

int OpenSerial(int port, int baud, int readTimeoutTenths) {
  State& s = Instance();
  CloseSerial();
  const int r = s.link.OpenSerialEx(port, baud, readTimeoutTenths);
  if (r > 0) s.serialOpen = port;
  return SerialResult(s, r);
}

void CloseSerial(void) {
  State& s = Instance();
  if (s.serialOpen) s.link.CloseSerial(s.serialOpen);
  s.serialOpen = 0;
}

void SetCOMPortNum(int port) { Instance().port = port; }
int GetCOMPortNum(void) { return Instance().port; }
void SetStationAddr(int station) {
  Instance().station = station;
  Instance().link.SetStationAddr(station);
}
int GetStationAddr(void) { return Instance().station; }

void SetCOMPortParam(int dataLen, int parity, int stopBits) {
  State& s = Instance();
  s.dataLen = dataLen;
  s.parity = parity;
  s.stopBits = stopBits;
}

void GetCOMPortParam(int* dataLen, int* parity, int* stopBits) {
  const State& s = Instance();
  if (dataLen) *dataLen = s.dataLen;
  if (parity) *parity = s.parity;
  if (stopBits) *stopBits = s.stopBits;
}

void SetCOMPortBaudrate(int baud) { Instance().baud = baud; }
int GetCOMPortBaudrate(void) { return Instance().baud; }

void SetCOMPortFormat(int format) {
  if (format < 500 || format > 999) return;  // three digits, data bits 5..9 first
  SetCOMPortParam(format / 100, format / 10 % 10, format % 10);
}

int GetCOMPortFormat(void) {
  const State& s = Instance();
  return s.dataLen * 100 + s.parity * 10 + s.stopBits;
}

void SetModbusMode(int mode) {
  Instance().mode = mode;
  Instance().link.SetModbusMode(mode);
}
int GetModbusMode(void) { return Instance().mode; }
int GetLastSerialErr(void) { return Instance().lastSerialErr; }
void ResetSerialErr(void) { Instance().lastSerialErr = 0; }

int OpenModbusTCPSocket(void) { return OpenSocket(1, static_cast<int>(Instance().remoteNet), 0, 502, 3); }

int OpenSocket(int protocol, int addressNet, int localPort, int remotePort, int timeoutSeconds) {
  State& s = Instance();
  CloseSocket();
  s.socketTimeoutMs = timeoutSeconds > 0 ? std::min(timeoutSeconds, 60) * 1000 : 1000;
  if (remotePort < 1 || remotePort > 65535 || localPort < 0 || localPort > 65535)
    return SocketResult(s, mb::kBadArgument);
  if (protocol == 1) {
    const int conn = s.link.GetSocketConnNum();
    if (conn < 1) return SocketResult(s, conn);
    const int r = s.link.OpenSocket(conn, 1, addressNet, remotePort, std::min(timeoutSeconds, 60) * 10);
    if (r <= 0) return SocketResult(s, r);
    s.tcpConn = conn;
    return 1;
  }
  if (protocol != 2) return SocketResult(s, mb::kBadArgument);
  corvane::UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) return SocketResult(s, mb::kIo);
  const auto target = static_cast<std::uint32_t>(addressNet);
  if (target == INADDR_BROADCAST) {
    const int one = 1;
    if (::setsockopt(fd.Get(), SOL_SOCKET, SO_BROADCAST, &one, sizeof one) != 0) return SocketResult(s, mb::kIo);
  }
  // Bound to the chosen adapter's address, a limited broadcast leaves through that adapter.
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<std::uint16_t>(localPort));
  local.sin_addr.s_addr = INADDR_ANY;
  if (s.hostNet != INADDR_BROADCAST && s.hostNet != 0 && corvane::buslink::IsLocalAddress(s.hostNet))
    local.sin_addr.s_addr = s.hostNet;
  if ((local.sin_addr.s_addr != INADDR_ANY || localPort != 0) &&
      ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
    return SocketResult(s, mb::kIo);
  s.udp = std::move(fd);
  s.udpTargetNet = target;
  s.udpPort = remotePort;
  return 1;
}

void CloseSocket(void) {
  State& s = Instance();
  s.udp.Reset();
  if (s.tcpConn) s.link.CloseSocket(s.tcpConn);
  s.tcpConn = 0;
}

int ReadSelect(int timeoutMs) {
  State& s = Instance();
  const int ms = std::clamp(timeoutMs, 0, 60000);
  switch (RouteOf(s)) {
    case Route::Udp: return fdio::WaitReadable(s.udp.Get(), ms);
    case Route::Tcp: return s.link.WaitReadable(1, s.tcpConn, ms);
    case Route::Serial: return s.link.WaitReadable(0, s.serialOpen, ms);
    case Route::None: break;
  }
  return SocketResult(s, mb::kNotOpen);
}

void SetRemoteIPAddr(int addressNet) {
  Instance().remoteNet = static_cast<std::uint32_t>(addressNet);
  Instance().link.SetRemoteIPAddr(addressNet);
}
int GetRemoteIPAddr(void) { return static_cast<int>(ntohl(Instance().remoteNet)); }
void SetHostIPAddr(int addressNet) {
  Instance().hostNet = static_cast<std::uint32_t>(addressNet);
  Instance().link.SetHostIPAddr(addressNet);
}
int GetLastSocketErr(void) { return Instance().lastSocketErr; }
void ResetSocketErr(void) { Instance().lastSocketErr = 0; }

int RequestData(int function, const unsigned char* data, int length) {
  State& s = Instance();
  if (s.tcpConn) return SocketResult(s, s.link.Request(1, s.tcpConn, 0, function, data, length));
  if (s.serialOpen) return SerialResult(s, s.link.Request(0, s.serialOpen, 0, function, data, length));
  return SerialResult(s, mb::kNotOpen);
}

int ResponseData(unsigned char* buffer) {
  State& s = Instance();
  int fn = 0, count = 0;
  if (s.tcpConn) return SocketResult(s, s.link.Response(1, s.tcpConn, &fn, &count, buffer));
  if (s.serialOpen) return SerialResult(s, s.link.Response(0, s.serialOpen, &fn, &count, buffer));
  return SerialResult(s, mb::kNotOpen);
}

int SendData(const unsigned char* data, int length) {
  State& s = Instance();
  if (!data || length < 1) return SocketResult(s, mb::kBadArgument);
  switch (RouteOf(s)) {
    case Route::Udp: {
      if (length > 65507) return SocketResult(s, mb::kBadArgument);
      sockaddr_in to{};
      to.sin_family = AF_INET;
      to.sin_port = htons(static_cast<std::uint16_t>(s.udpPort));
      to.sin_addr.s_addr = s.udpTargetNet;
      const std::int64_t deadline = fdio::NowMs() + s.socketTimeoutMs;
      for (;;) {
        const ssize_t r = ::sendto(s.udp.Get(), data, static_cast<std::size_t>(length), MSG_NOSIGNAL,
                                   reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (r == length) {
          corvane::buslink::TraceDatagram(corvane::trace::Direction::Sent, to, data, length);
          return length;
        }
        if (r >= 0 || (errno != EAGAIN && errno != EINTR)) return SocketResult(s, mb::kIo);
        pollfd p{s.udp.Get(), POLLOUT, 0};
        const std::int64_t left = deadline - fdio::NowMs();
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return SocketResult(s, mb::kTimeout);
      }
    }
    case Route::Tcp: return SocketResult(s, s.link.SendData(1, s.tcpConn, data, length));
    case Route::Serial: return SerialResult(s, s.link.SendData(0, s.serialOpen, data, length));
    case Route::None: break;
  }
  return SocketResult(s, mb::kNotOpen);
}

int RecvData(unsigned char* buffer, int size) {
  State& s = Instance();
  if (!buffer || size < 1) return SocketResult(s, mb::kBadArgument);
  switch (RouteOf(s)) {
    case Route::Udp: {
      // MSG_TRUNC reports the full length: a datagram longer than the buffer keeps its first
      // `size` bytes and the rest is dropped with it (the next read is the next datagram).
      // A datagram already waiting (the reply loop asked ReadSelect first) is taken at once.
      sockaddr_in from{};
      socklen_t fromSize = sizeof from;
      auto take = [&] {
        return ::recvfrom(s.udp.Get(), buffer, static_cast<std::size_t>(size), MSG_TRUNC | MSG_DONTWAIT,
                          reinterpret_cast<sockaddr*>(&from), &fromSize);
      };
      ssize_t r = take();
      if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        const int w = fdio::WaitReadable(s.udp.Get(), s.socketTimeoutMs);
        if (w <= 0) return SocketResult(s, w == 0 ? mb::kTimeout : mb::kIo);
        r = take();
      }
      if (r < 0) return SocketResult(s, mb::kIo);
      const int got = static_cast<int>(std::min<ssize_t>(r, size));
      corvane::buslink::TraceDatagram(corvane::trace::Direction::Received, from, buffer, got);
      // Short datagrams leave no stale bytes of an earlier reply behind them.
      std::memset(buffer + got, 0, static_cast<std::size_t>(size - got));
      return got > 0 ? got : SocketResult(s, mb::kTruncated);
    }
    case Route::Tcp: return SocketResult(s, s.link.RecvData(1, s.tcpConn, buffer, size));
    case Route::Serial: return SerialResult(s, s.link.RecvData(0, s.serialOpen, buffer, size));
    case Route::None: break;
  }
  return SocketResult(s, mb::kNotOpen);
}

void SetCommType(int type) {
  Instance().commType = type;
  Instance().link.SetCommType(type);
}
int GetCommType(void) { return Instance().commType; }
int SetSerializeData(const unsigned char* data, int length) { return Instance().link.SetSerializeData(data, length); }
int GetSerializeData(unsigned char* buffer) { return Instance().link.GetSerializeData(buffer); }

}  // extern "C"
