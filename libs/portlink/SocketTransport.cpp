// A TCP connection as a transport: Modbus TCP framing, unread bytes dropped before a request so
// a late reply to a request that timed out is never taken for the next one.
#include <sys/socket.h>

#include <cstring>

#include "libs/portlink/FdIo.h"
#include "libs/portlink/Link.h"

namespace corvane {
namespace {

const modbus::Framing* SocketFraming(std::optional<ModbusMode>) { return &modbus::kTcpFraming; }

void SocketPrepare(Link& link, int) {
  std::uint8_t scratch[512];
  while (::recv(link.socket.Get(), scratch, sizeof scratch, MSG_DONTWAIT) > 0) {
  }
}

bool SocketSend(Link& link, const std::uint8_t* data, std::size_t n, int timeoutMs) {
  if (!fdio::WriteAll(link.socket.Get(), data, n, timeoutMs)) return false;
  link.lastByteUs = link.sentUs = fdio::NowUs();
  return true;
}

long SocketRecv(Link& link, std::uint8_t* data, std::uint8_t* bad, std::size_t cap, int timeoutMs) {
  const long r = fdio::ReadSome(link.socket.Get(), data, cap, timeoutMs);
  if (r > 0) std::memset(bad, 0, static_cast<std::size_t>(r));
  return r;
}

int SocketWait(Link& link, int timeoutMs) { return fdio::WaitReadable(link.socket.Get(), timeoutMs); }

long SocketWireUs(const Link&, std::size_t) { return 0; }

}  // namespace

const Transport kSocketTransport{"socket", SocketFraming, SocketPrepare, SocketSend, SocketRecv,
                                 SocketWait, SocketWireUs, 0};

}  // namespace corvane
