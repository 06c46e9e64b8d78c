#include "libs/portlink/CPortLink.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/DefaultPortPath.h"
#include "libs/portlink/FdIo.h"
#include "libs/portlink/ModbusFrame.h"
#include "libs/portlink/PorthubFrame.h"
#include "libs/portlink/SerialLine.h"
#include "libs/portlink/TcpConnect.h"

using namespace corvane;
namespace mb = corvane::modbus;

namespace {

// One area for every user of the loaded library: the program and each module that links it.
struct SerializeArea {
  std::mutex mutex;
  unsigned char data[CPortLink::kSerializeSize] = {};
  int length = 0;
};
SerializeArea& Area() {
  static SerializeArea area;
  return area;
}

constexpr int kDefaultResponseMs = 1000;
constexpr int kDefaultConnectMs = 3000;
constexpr int kRawGapMs = 50;        // a raw serial reply ends after this much silence
constexpr int kRtuMinGapMs = 20;     // USB adapters deliver in chunks up to ~16 ms apart
constexpr int kMaxTenths = 600;      // time-out arguments are capped at 60 s

struct Pending {
  bool active = false;
  std::uint8_t station = 0;
  std::uint8_t function = 0;
  std::uint16_t transaction = 0;
  int mode = 0;
};

struct SerialEntry {
  SerialLine line;
  int readTimeoutMs = kDefaultResponseMs;
  bool raw = false;
  std::int64_t quietSinceUs = 0;  // when the line last went silent (end of the last frame)
  Pending pending;
};

struct SocketEntry {
  UniqueFd fd;
  std::uint16_t transaction = 0;
  Pending pending;
};

int TenthsToMs(int tenths, int fallback) {
  if (tenths <= 0) return fallback;
  return std::min(tenths, kMaxTenths) * 100;
}

// Drops whatever a socket holds unread: replies to requests that already timed out.
void DrainSocket(int fd) {
  std::uint8_t scratch[512];
  while (::recv(fd, scratch, sizeof scratch, MSG_DONTWAIT) > 0) {
  }
}

}  // namespace

struct CPortLink::Impl {
  int commType = 0, serialNum = 1, station = 0, mode = 1, baud = 9600;
  int dataLen = 7, parity = 2, stopBits = 1, porthubPort = 0;
  int remote = -1, host = -1;
  int responseMs = kDefaultResponseMs;
  int lastResult = 0;
  PortResolver resolver = DefaultPortPath;
  std::map<int, SerialEntry> serials;
  std::map<int, SocketEntry> sockets;

  int Fail(int result) {
    lastResult = result;
    return result;
  }
  SerialEntry* Serial(int port) {
    auto it = serials.find(port);
    return it == serials.end() ? nullptr : &it->second;
  }
  SocketEntry* Socket(int conn) {
    auto it = sockets.find(conn);
    return it == sockets.end() ? nullptr : &it->second;
  }
  int OpenLine(int port, const SerialSettings& s, int readTimeoutMs, bool raw) {
    serials.erase(port);
    if (port < 1) return Fail(mb::kBadArgument);
    const std::string path = resolver ? resolver(port) : std::string();
    if (path.empty()) return Fail(mb::kNotOpen);
    SerialEntry e;
    if (e.line.Open(path, s) != 0) return Fail(mb::kIo);
    e.readTimeoutMs = readTimeoutMs;
    e.raw = raw;
    e.quietSinceUs = fdio::NowUs();
    serials.emplace(port, std::move(e));
    return port;
  }
  int SerialReply(SerialEntry& e, unsigned char* buffer, int* function);
  int TcpReply(SocketEntry& e, unsigned char* buffer, int* function);
};

CPortLink::CPortLink() : m(std::make_unique<Impl>()) {}
CPortLink::~CPortLink() = default;

void CPortLink::SetCommType(int type) { m->commType = type; }
void CPortLink::SetSerialNum(int port) { m->serialNum = port; }
void CPortLink::SetStationAddr(int station) { m->station = station; }
void CPortLink::SetModbusMode(int mode) { m->mode = mode; }
void CPortLink::SetSerialBaudrate(int baud) { m->baud = baud; }
void CPortLink::SetSerialParams(int dataLen, int parity, int stopBits) {
  m->dataLen = dataLen;
  m->parity = parity;
  m->stopBits = stopBits;
}
void CPortLink::SetPorthubPort(int port) { m->porthubPort = port; }
void CPortLink::SetRemoteIPAddr(int addressNet) { m->remote = addressNet; }
void CPortLink::SetHostIPAddr(int addressNet) { m->host = addressNet; }
void CPortLink::SetPortResolver(PortResolver resolver) { m->resolver = std::move(resolver); }
void CPortLink::SetResponseTimeout(int ms) { m->responseMs = ms > 0 ? std::min(ms, kMaxTenths * 100) : kDefaultResponseMs; }
int CPortLink::LastResult() const { return m->lastResult; }

int CPortLink::OpenSerial(int port, int baud, int dataLen, int parity, int stopBits) {
  m->serialNum = port;
  m->baud = baud;
  SetSerialParams(dataLen, parity, stopBits);
  return m->OpenLine(port, SerialSettings{baud, dataLen, parity, stopBits}, m->responseMs, false);
}

int CPortLink::OpenSerialEx(int port, int baud, int readTimeoutTenths) {
  return m->OpenLine(port, SerialSettings{baud, 8, 0, 1}, TenthsToMs(readTimeoutTenths, kDefaultResponseMs), true);
}

void CPortLink::CloseSerial(int port) { m->serials.erase(port); }

int CPortLink::GetSocketConnNum() {
  for (int conn = 1; conn <= kMaxConnections; ++conn)
    if (!m->sockets.count(conn)) return conn;
  return m->Fail(mb::kBadArgument);
}

int CPortLink::OpenSocket(int conn, int protocol, int addressNet, int tcpPort, int connectTimeoutTenths) {
  m->sockets.erase(conn);
  if (conn < 1 || conn > kMaxConnections || protocol != 1) return m->Fail(mb::kBadArgument);
  SocketEntry e;
  e.fd = ConnectTcp(static_cast<std::uint32_t>(addressNet), tcpPort, TenthsToMs(connectTimeoutTenths, kDefaultConnectMs));
  if (!e.fd) return m->Fail(mb::kIo);
  m->sockets.emplace(conn, std::move(e));
  return conn;
}

void CPortLink::CloseSocket(int conn) { m->sockets.erase(conn); }

int CPortLink::Request(int type, int handle, int /*reserved*/, int function, const unsigned char* data, int length) {
  if (length < 0 || static_cast<std::size_t>(length) + 1 > mb::kMaxPdu || (length > 0 && !data) || function < 1 ||
      function > 127 || m->station < 0 || m->station > 255)
    return m->Fail(mb::kBadArgument);
  const auto station = static_cast<std::uint8_t>(m->station);
  const auto fn = static_cast<std::uint8_t>(function);
  if (type == 0) {
    SerialEntry* e = m->Serial(handle);
    if (!e) return m->Fail(mb::kNotOpen);
    std::vector<std::uint8_t> frame;
    if (m->mode == 1) frame = mb::EncodeAscii(station, fn, data, length);
    else if (m->mode == 2) frame = mb::EncodeRtu(station, fn, data, length);
    else return m->Fail(mb::kBadArgument);
    const long charUs = e->line.CharTimeUs();
    if (m->mode == 2) {
      // RTU frames are told apart by 3.5 characters of silence (1.75 ms above 19200 baud).
      const long silenceUs = e->line.Settings().baud > 19200 ? 1750 : charUs * 7 / 2;
      const std::int64_t waitUs = e->quietSinceUs + silenceUs - fdio::NowUs();
      if (waitUs > 0) std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
    }
    e->line.FlushInput();
    const int sendMs = static_cast<int>(charUs * static_cast<long>(frame.size()) / 1000) + 1000;
    if (!fdio::WriteAll(e->line.Fd(), frame.data(), frame.size(), sendMs)) return m->Fail(mb::kIo);
    e->quietSinceUs = fdio::NowUs() + charUs * static_cast<long>(frame.size());
    e->pending = Pending{true, station, fn, 0, m->mode};
    return static_cast<int>(frame.size());
  }
  if (type == 1 || type == 2) {
    SocketEntry* e = m->Socket(handle);
    if (!e) return m->Fail(mb::kNotOpen);
    ++e->transaction;
    const std::vector<std::uint8_t> frame = mb::EncodeTcp(e->transaction, station, fn, data, length);
    DrainSocket(e->fd.Get());
    if (!fdio::WriteAll(e->fd.Get(), frame.data(), frame.size(), m->responseMs)) return m->Fail(mb::kIo);
    e->pending = Pending{true, station, fn, e->transaction, 0};
    return static_cast<int>(frame.size());
  }
  return m->Fail(mb::kBadArgument);
}

int CPortLink::Impl::SerialReply(SerialEntry& e, unsigned char* buffer, int* function) {
  std::uint8_t rx[mb::kMaxAsciiFrame + 64];
  std::size_t n = 0;
  const bool ascii = e.pending.mode == 1;
  const int gapMs = std::max<long>(kRtuMinGapMs, (e.line.CharTimeUs() * 7 / 2 + 999) / 1000);
  const std::int64_t deadline = fdio::NowMs() + responseMs;
  auto decode = [&](bool final) {
    return ascii ? mb::DecodeAsciiReply(rx, n, e.pending.station, e.pending.function, buffer, kBufferSize, final)
                 : mb::DecodeRtuReply(rx, n, e.pending.station, e.pending.function, buffer, kBufferSize, final);
  };
  int result = mb::kIncomplete;
  for (;;) {
    const std::int64_t left = deadline - fdio::NowMs();
    if (left <= 0 || n == sizeof rx) {
      result = decode(true);
      break;
    }
    const int waitMs = (n == 0 || ascii) ? static_cast<int>(left) : static_cast<int>(std::min<std::int64_t>(gapMs, left));
    const long r = fdio::ReadSome(e.line.Fd(), rx + n, sizeof rx - n, waitMs);
    if (r > 0) {
      n += static_cast<std::size_t>(r);
      if (n && rx[0] != ':' && ascii) {
        // Keep the buffer bounded: drop noise before the last ":".
        const void* colon = std::memchr(rx, ':', n);
        if (!colon) n = 0;
      }
      result = decode(false);
      if (result != mb::kIncomplete) break;
      continue;
    }
    result = decode(true);
    if (r != fdio::kTimedOut && (result == mb::kTimeout)) result = mb::kIo;
    break;
  }
  e.quietSinceUs = fdio::NowUs();
  if (function) *function = n > 1 ? (ascii ? -1 : rx[1]) : -1;
  return result;
}

int CPortLink::Impl::TcpReply(SocketEntry& e, unsigned char* buffer, int* function) {
  std::uint8_t header[7];
  const std::int64_t deadline = fdio::NowMs() + responseMs;
  long r = fdio::ReadExact(e.fd.Get(), header, sizeof header, responseMs);
  if (r == fdio::kTimedOut) return mb::kTimeout;
  if (r < 0) return mb::kTruncated;
  const int pduLength = mb::MbapPduLength(header);
  if (pduLength < 0) {
    DrainSocket(e.fd.Get());
    return pduLength;
  }
  std::uint8_t pdu[mb::kMaxPdu];
  const std::int64_t left = std::max<std::int64_t>(0, deadline - fdio::NowMs());
  r = fdio::ReadExact(e.fd.Get(), pdu, static_cast<std::size_t>(pduLength), static_cast<int>(left));
  if (r <= 0) return mb::kTruncated;
  if (function) *function = pdu[0];
  if (!mb::MbapMatches(header, e.pending.transaction)) return mb::kTransaction;
  if (header[6] != e.pending.station) return mb::kStation;
  return mb::DecodePdu(pdu, static_cast<std::size_t>(pduLength), e.pending.function, buffer, kBufferSize);
}

int CPortLink::Response(int type, int handle, int* function, int* count, unsigned char* buffer) {
  if (!buffer) return m->Fail(mb::kBadArgument);
  int result = mb::kNotOpen;
  if (type == 0) {
    if (SerialEntry* e = m->Serial(handle)) {
      result = e->pending.active ? m->SerialReply(*e, buffer, function) : mb::kBadArgument;
      e->pending.active = false;
    }
  } else if (type == 1 || type == 2) {
    if (SocketEntry* e = m->Socket(handle)) {
      result = e->pending.active ? m->TcpReply(*e, buffer, function) : mb::kBadArgument;
      e->pending.active = false;
    }
  } else {
    result = mb::kBadArgument;
  }
  if (count) *count = result > 0 ? result : 0;
  return result > 0 ? result : m->Fail(result);
}

int CPortLink::SendData(int type, int handle, const unsigned char* data, int length) {
  if (!data || length < 1) return m->Fail(mb::kBadArgument);
  if (type == 0) {
    SerialEntry* e = m->Serial(handle);
    if (!e) return m->Fail(mb::kNotOpen);
    e->line.FlushInput();
    const long charUs = e->line.CharTimeUs();
    const int sendMs = static_cast<int>(charUs * length / 1000) + 1000;
    if (!fdio::WriteAll(e->line.Fd(), data, static_cast<std::size_t>(length), sendMs)) return m->Fail(mb::kIo);
    return length;
  }
  if (type == 1 || type == 2) {
    SocketEntry* e = m->Socket(handle);
    if (!e) return m->Fail(mb::kNotOpen);
    if (!fdio::WriteAll(e->fd.Get(), data, static_cast<std::size_t>(length), m->responseMs)) return m->Fail(mb::kIo);
    return length;
  }
  return m->Fail(mb::kBadArgument);
}

int CPortLink::RecvData(int type, int handle, unsigned char* buffer, int size) {
  if (!buffer || size < 1) return m->Fail(mb::kBadArgument);
  if (type == 0) {
    SerialEntry* e = m->Serial(handle);
    if (!e) return m->Fail(mb::kNotOpen);
    long r = fdio::ReadSome(e->line.Fd(), buffer, static_cast<std::size_t>(size), e->readTimeoutMs);
    if (r == fdio::kTimedOut) return m->Fail(mb::kTimeout);
    if (r < 0) return m->Fail(mb::kIo);
    int got = static_cast<int>(r);
    while (got < size) {
      r = fdio::ReadSome(e->line.Fd(), buffer + got, static_cast<std::size_t>(size - got), kRawGapMs);
      if (r <= 0) break;
      got += static_cast<int>(r);
    }
    return got;
  }
  if (type == 1 || type == 2) {
    SocketEntry* e = m->Socket(handle);
    if (!e) return m->Fail(mb::kNotOpen);
    const long r = fdio::ReadSome(e->fd.Get(), buffer, static_cast<std::size_t>(size), m->responseMs);
    if (r == fdio::kTimedOut) return m->Fail(mb::kTimeout);
    if (r < 0) return m->Fail(mb::kIo);
    return static_cast<int>(r);
  }
  return m->Fail(mb::kBadArgument);
}

int CPortLink::SendPORTHUB(int handle, int command, int driverId, int address, int port, const unsigned char* data,
                           int length) {
  if (length < 0 || length > static_cast<int>(porthub::kMaxPayload) || (length > 0 && !data) || port < 0 ||
      port > 65535 || command < 0 || command > 65535)
    return m->Fail(mb::kBadArgument);
  SocketEntry* e = m->Socket(handle);
  if (!e) return m->Fail(mb::kNotOpen);
  const porthub::Header h{static_cast<std::uint16_t>(command), driverId, static_cast<std::uint32_t>(address),
                          static_cast<std::uint16_t>(port), static_cast<std::uint16_t>(length)};
  std::vector<std::uint8_t> frame = porthub::Encode(h, data);
  if (!fdio::WriteAll(e->fd.Get(), frame.data(), frame.size(), m->responseMs)) return m->Fail(mb::kIo);
  return static_cast<int>(frame.size());
}

int CPortLink::RecvPORTHUB(int handle, int* source, unsigned char* buffer) {
  if (!buffer) return m->Fail(mb::kBadArgument);
  SocketEntry* e = m->Socket(handle);
  if (!e) return m->Fail(mb::kNotOpen);
  const std::int64_t deadline = fdio::NowMs() + m->responseMs;
  std::uint8_t raw[porthub::kHeaderSize];
  long r = fdio::ReadExact(e->fd.Get(), raw, sizeof raw, m->responseMs);
  if (r == fdio::kTimedOut) return m->Fail(mb::kTimeout);
  if (r < 0) return m->Fail(mb::kTruncated);
  porthub::Header h;
  if (!porthub::Decode(raw, h)) {
    DrainSocket(e->fd.Get());
    return m->Fail(mb::kChecksum);
  }
  std::uint8_t payload[porthub::kMaxPayload];
  const std::int64_t left = std::max<std::int64_t>(0, deadline - fdio::NowMs());
  if (h.length > 0) {
    r = fdio::ReadExact(e->fd.Get(), payload, h.length, static_cast<int>(left));
    if (r <= 0) return m->Fail(mb::kTruncated);
  }
  const int copied = std::min<int>(h.length, kBufferSize);
  std::memcpy(buffer, payload, static_cast<std::size_t>(copied));
  if (source) *source = static_cast<int>(h.address);
  return copied > 0 ? copied : m->Fail(mb::kTruncated);
}

int CPortLink::WaitReadable(int type, int handle, int timeoutMs) {
  int fd = -1;
  if (type == 0) {
    if (SerialEntry* e = m->Serial(handle)) fd = e->line.Fd();
  } else if (SocketEntry* e = m->Socket(handle)) {
    fd = e->fd.Get();
  }
  if (fd < 0) return m->Fail(mb::kNotOpen);
  return fdio::WaitReadable(fd, timeoutMs);
}

unsigned short CPortLink::GetCRC16(const unsigned char* data, int length) {
  if (!data || length <= 0) return 0xFFFF;
  return Crc16Modbus(data, static_cast<std::size_t>(length));
}

int CPortLink::SetSerializeData(const unsigned char* data, int length) {
  SerializeArea& a = Area();
  std::lock_guard lock(a.mutex);
  // A refused block empties the area, so the next reader never sees a previous module's data.
  if (length < 0 || length > kSerializeSize || (length > 0 && !data)) {
    a.length = 0;
    return m->Fail(-1);
  }
  if (length) std::memcpy(a.data, data, static_cast<std::size_t>(length));
  a.length = length;
  return length;
}

int CPortLink::GetSerializeData(unsigned char* buffer) {
  if (!buffer) return m->Fail(-1);
  SerializeArea& a = Area();
  std::lock_guard lock(a.mutex);
  if (a.length) std::memcpy(buffer, a.data, static_cast<std::size_t>(a.length));
  return a.length;
}
