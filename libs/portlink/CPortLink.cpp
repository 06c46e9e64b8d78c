#include "libs/portlink/CPortLink.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/DefaultPortPath.h"
#include "libs/portlink/FdIo.h"
#include "libs/portlink/Link.h"
#include "libs/portlink/LinkTrace.h"
#include "libs/portlink/PorthubFrame.h"
#include "libs/portlink/ReplyReader.h"
#include "libs/portlink/SerialLine.h"
#include "libs/portlink/TcpConnect.h"

using namespace corvane;
namespace mb = corvane::modbus;

namespace {

// What every CPortLink of the process shares: the program, BusLink and each module link the
// same loaded library.
struct Shared {
  std::mutex mutex;
  unsigned char serialize[CPortLink::kSerializeSize] = {};
  int serializeLength = 0;
  CPortLink::PortMap portMap;
  int responseMs = CPortLink::kDefaultResponseMs;
};
Shared& Process() {
  static Shared shared;
  return shared;
}

constexpr int kDefaultConnectMs = 3000;
constexpr int kMaxTenths = 600;  // time-out arguments are capped at 60 s
constexpr int kMaxMs = kMaxTenths * 100;

int TenthsToMs(int tenths, int fallback) {
  if (tenths <= 0) return fallback;
  return std::min(tenths, kMaxTenths) * 100;
}

std::string ComName(int port) { return "COM" + std::to_string(port); }

std::string SocketName(int addressNet, int port) {
  char text[INET_ADDRSTRLEN] = {};
  in_addr a{};
  a.s_addr = static_cast<in_addr_t>(addressNet);
  ::inet_ntop(AF_INET, &a, text, sizeof text);
  return std::string(text) + ":" + std::to_string(port);
}

trace::Framing TraceFraming(const mb::Framing* f) {
  if (f == &mb::kRtuFraming) return trace::Framing::Rtu;
  if (f == &mb::kAsciiFraming) return trace::Framing::Ascii;
  return trace::Framing::Tcp;
}

// One frame for the tracer; `frame` is the part the summary reads (a reply after noise or echo).
void Trace(const Link& link, trace::Direction direction, trace::Framing framing, std::span<const std::uint8_t> bytes,
           std::span<const std::uint8_t> frame, int failure = 0) {
  trace::TraceEvent e;
  e.timeUs = fdio::NowUs();
  e.direction = direction;
  e.link = link.name;
  e.framing = framing;
  e.bytes = bytes;
  e.summary = trace::LinkTrace::Summarize(framing, frame, direction == trace::Direction::Sent);
  e.failure = failure;
  trace::LinkTrace::Emit(e);
}

std::string TransferFailure(int result, const mb::ReplyInfo& info) {
  if (result != mb::kException) return mb::ResultText(result);
  char code[8];
  std::snprintf(code, sizeof code, "%02X", info.exception & 0xFF);
  const std::string name = mb::ExceptionName(info.exception);
  return std::string("exception ") + code + (name.empty() ? "" : " (" + name + ")");
}

}  // namespace

struct CPortLink::Impl {
  int commType = 0, serialNum = 1, station = 0, mode = 1, baud = 9600;
  int dataLen = 7, parity = 2, stopBits = 1, porthubPort = 0;
  int remote = -1, host = -1;
  int responseMs = 0;  // 0: the process's default
  int lastResult = 0, lastException = 0;
  std::string lastError;
  PortResolver resolver;
  using Links = std::map<int, std::unique_ptr<Link>>;
  Links serials, sockets;

  int Fail(int result, std::string why = {}) {
    lastResult = result;
    lastError = why.empty() ? mb::ResultText(result) : std::move(why);
    return result;
  }
  Links* TableOf(int type) {
    const auto kind = ToLinkType(type);
    if (!kind) return nullptr;
    return *kind == LinkType::Serial ? &serials : &sockets;
  }
  Link* Find(int type, int handle) {
    Links* table = TableOf(type);
    if (!table) return nullptr;
    auto it = table->find(handle);
    return it == table->end() ? nullptr : it->second.get();
  }
  // Not open, or not a link type at all.
  int Missing(int type) { return Fail(TableOf(type) ? mb::kNotOpen : mb::kBadArgument); }
  int ResponseMs() const {
    if (responseMs > 0) return responseMs;
    std::lock_guard lock(Process().mutex);
    return Process().responseMs;
  }
  PortSpec Resolve(int port) const {
    if (resolver) return PortSpec{resolver(port)};
    PortMap map;
    {
      std::lock_guard lock(Process().mutex);
      map = Process().portMap;
    }
    return map ? map(port) : PortSpec{DefaultPortPath(port)};
  }
  int OpenLine(int port, SerialSettings s, int readTimeoutMs);
};

int CPortLink::Impl::OpenLine(int port, SerialSettings s, int readTimeoutMs) {
  serials.erase(port);
  if (port < 1) return Fail(mb::kBadArgument, ComName(port) + ": not a port number");
  const PortSpec spec = Resolve(port);
  if (spec.path.empty()) return Fail(mb::kNotOpen, ComName(port) + ": no serial device is mapped to this port");
  s.rs485 = Rs485Settings{spec.rs485, spec.rs485DelayBeforeMs, spec.rs485DelayAfterMs};
  auto link = std::make_unique<Link>();
  link->transport = &kSerialTransport;
  const std::string why = link->line.Open(spec.path, s);
  if (!why.empty()) return Fail(mb::kIo, ComName(port) + ": " + why);
  link->name = ComName(port) + " (" + spec.path + ")";
  link->readTimeoutMs = readTimeoutMs;
  link->lastByteUs = fdio::NowUs();  // what the line carried before is not known
  serials.emplace(port, std::move(link));
  return port;
}

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
void CPortLink::SetResponseTimeout(int ms) { m->responseMs = ms > 0 ? std::min(ms, kMaxMs) : 0; }
int CPortLink::ResponseTimeout() const { return m->ResponseMs(); }
int CPortLink::LastResult() const { return m->lastResult; }
int CPortLink::LastException() const { return m->lastException; }
std::string CPortLink::LastErrorText() const { return m->lastResult ? m->lastError : std::string(); }

std::string CPortLink::PortAvailability(const std::string& device) { return SerialLine::Availability(device); }

void CPortLink::SetPortMap(PortMap map) {
  std::lock_guard lock(Process().mutex);
  Process().portMap = std::move(map);
}

void CPortLink::SetDefaultResponseTimeout(int ms) {
  std::lock_guard lock(Process().mutex);
  Process().responseMs = ms > 0 ? std::min(ms, kMaxMs) : kDefaultResponseMs;
}

int CPortLink::OpenSerial(int port, int baud, int dataLen, int parity, int stopBits) {
  m->serialNum = port;
  m->baud = baud;
  SetSerialParams(dataLen, parity, stopBits);
  return m->OpenLine(port, SerialSettings{baud, dataLen, parity, stopBits, {}}, 0);
}

int CPortLink::OpenSerialEx(int port, int baud, int readTimeoutTenths) {
  return m->OpenLine(port, SerialSettings{baud, 8, 0, 1, {}}, TenthsToMs(readTimeoutTenths, kDefaultResponseMs));
}

void CPortLink::CloseSerial(int port) { m->serials.erase(port); }

int CPortLink::GetSocketConnNum() {
  for (int conn = 1; conn <= kMaxConnections; ++conn)
    if (!m->sockets.count(conn)) return conn;
  return m->Fail(mb::kBadArgument, "all connections are in use");
}

int CPortLink::OpenSocket(int conn, int protocol, int addressNet, int tcpPort, int connectTimeoutTenths) {
  m->sockets.erase(conn);
  if (conn < 1 || conn > kMaxConnections || protocol != 1) return m->Fail(mb::kBadArgument);
  auto link = std::make_unique<Link>();
  link->transport = &kSocketTransport;
  link->name = SocketName(addressNet, tcpPort);
  int error = 0;
  link->socket = ConnectTcp(static_cast<std::uint32_t>(addressNet), tcpPort,
                            TenthsToMs(connectTimeoutTenths, kDefaultConnectMs), &error);
  if (!link->socket)
    return m->Fail(mb::kIo, "TCP port " + std::to_string(tcpPort) + ": " + (error ? std::strerror(error) : "time-out"));
  m->sockets.emplace(conn, std::move(link));
  return conn;
}

void CPortLink::CloseSocket(int conn) { m->sockets.erase(conn); }

int CPortLink::Request(int type, int handle, int /*reserved*/, int function, const unsigned char* data, int length) {
  if (length < 0 || static_cast<std::size_t>(length) + 1 > mb::kMaxPdu || (length > 0 && !data) || function < 1 ||
      function > 127 || m->station < 0 || m->station > 255)
    return m->Fail(mb::kBadArgument);
  Link* link = m->Find(type, handle);
  if (!link) return m->Missing(type);
  const mb::Framing* framing = link->transport->framing(ToModbusMode(m->mode));
  if (!framing) return m->Fail(mb::kBadArgument, "no Modbus mode set (1 ASCII, 2 RTU)");
  link->pending = false;
  mb::Expect expect{static_cast<std::uint8_t>(m->station), static_cast<std::uint8_t>(function), ++link->transaction, {}};
  expect.request = framing->encode(expect, data, static_cast<std::size_t>(length));
  const std::size_t size = expect.request.size();
  link->transport->prepare(*link, framing->silenceTenths);
  const int sendMs = static_cast<int>(link->transport->wireUs(*link, size) / 1000) + m->ResponseMs();
  if (!link->transport->send(*link, expect.request.data(), size, sendMs))
    return m->Fail(mb::kIo, "the request could not be written");
  if (trace::LinkTrace::Active())
    Trace(*link, trace::Direction::Sent, TraceFraming(framing), expect.request, expect.request);
  link->expect = std::move(expect);
  link->framing = framing;
  link->pending = true;
  return static_cast<int>(size);
}

int CPortLink::Response(int type, int handle, int* function, int* count, unsigned char* buffer) {
  if (function) *function = -1;
  if (count) *count = 0;
  if (!buffer) return m->Fail(mb::kBadArgument);
  Link* link = m->Find(type, handle);
  if (!link) return m->Missing(type);
  mb::ReplyInfo info;
  ReplySeen seen;
  ReplySeen* traced = link->pending && trace::LinkTrace::Active() ? &seen : nullptr;
  const int result = link->pending ? ReadReply(*link, m->ResponseMs(), buffer, kBufferSize, info, traced)
                                   : mb::kBadArgument;
  if (traced) {
    const std::span<const std::uint8_t> bytes(seen.bytes);
    Trace(*link, trace::Direction::Received, TraceFraming(link->framing), bytes,
          seen.frameLength ? bytes.subspan(seen.frameAt, seen.frameLength) : bytes, result > 0 ? 0 : result);
  }
  link->pending = false;
  m->lastException = info.exception;
  if (function) *function = info.function;
  if (count) *count = std::max(result, 0);
  return result > 0 ? result : m->Fail(result, TransferFailure(result, info));
}

int CPortLink::SendData(int type, int handle, const unsigned char* data, int length) {
  if (!data || length < 1) return m->Fail(mb::kBadArgument);
  Link* link = m->Find(type, handle);
  if (!link) return m->Missing(type);
  link->transport->prepare(*link, 0);  // bytes nobody read are stale
  const auto size = static_cast<std::size_t>(length);
  const int sendMs = static_cast<int>(link->transport->wireUs(*link, size) / 1000) + m->ResponseMs();
  if (!link->transport->send(*link, data, size, sendMs)) return m->Fail(mb::kIo, "the data could not be written");
  if (trace::LinkTrace::Active()) Trace(*link, trace::Direction::Sent, trace::Framing::Raw, {data, size}, {data, size});
  return length;
}

int CPortLink::RecvData(int type, int handle, unsigned char* buffer, int size) {
  if (!buffer || size < 1) return m->Fail(mb::kBadArgument);
  Link* link = m->Find(type, handle);
  if (!link) return m->Missing(type);
  std::uint8_t bad[512];  // raw data keeps every byte; the line's marks are not asked for
  const auto want = [&](int got) { return std::min<std::size_t>(sizeof bad, static_cast<std::size_t>(size - got)); };
  long r = link->transport->recv(*link, buffer, bad, want(0), link->readTimeoutMs ? link->readTimeoutMs : m->ResponseMs());
  if (r <= 0 && trace::LinkTrace::Active())
    Trace(*link, trace::Direction::Received, trace::Framing::Raw, {}, {}, r == 0 ? mb::kTimeout : mb::kIo);
  if (r == 0) return m->Fail(mb::kTimeout);
  if (r < 0) return m->Fail(mb::kIo);
  int got = static_cast<int>(r);
  while (got < size && link->transport->rawGapMs > 0) {
    r = link->transport->recv(*link, buffer + got, bad, want(got), link->transport->rawGapMs);
    if (r <= 0) break;
    got += static_cast<int>(r);
  }
  if (trace::LinkTrace::Active()) {
    const std::span<const std::uint8_t> bytes(buffer, static_cast<std::size_t>(got));
    Trace(*link, trace::Direction::Received, trace::Framing::Raw, bytes, bytes);
  }
  return got;
}

int CPortLink::SendPORTHUB(int handle, int command, int driverId, int address, int port, const unsigned char* data,
                           int length) {
  if (length < 0 || length > static_cast<int>(porthub::kMaxPayload) || (length > 0 && !data) || port < 0 ||
      port > 65535 || command < 0 || command > 65535)
    return m->Fail(mb::kBadArgument);
  Link* link = m->Find(static_cast<int>(LinkType::Manager), handle);
  if (!link) return m->Fail(mb::kNotOpen);
  const porthub::Header h{static_cast<std::uint16_t>(command), driverId, static_cast<std::uint32_t>(address),
                          static_cast<std::uint16_t>(port), static_cast<std::uint16_t>(length)};
  std::vector<std::uint8_t> frame = porthub::Encode(h, data);
  if (!fdio::WriteAll(link->Fd(), frame.data(), frame.size(), m->ResponseMs())) return m->Fail(mb::kIo);
  if (trace::LinkTrace::Active()) Trace(*link, trace::Direction::Sent, trace::Framing::Porthub, frame, frame);
  return static_cast<int>(frame.size());
}

int CPortLink::RecvPORTHUB(int handle, int* source, unsigned char* buffer) {
  if (!buffer) return m->Fail(mb::kBadArgument);
  Link* link = m->Find(static_cast<int>(LinkType::Manager), handle);
  if (!link) return m->Fail(mb::kNotOpen);
  const int responseMs = m->ResponseMs();
  const std::int64_t deadline = fdio::NowMs() + responseMs;
  std::uint8_t frame[porthub::kHeaderSize + porthub::kMaxPayload];
  std::size_t got = 0;
  // Every way out: the frame as far as it came to the tracer, a failure into LastResult.
  const auto done = [&](int result) {
    if (trace::LinkTrace::Active())
      Trace(*link, trace::Direction::Received, trace::Framing::Porthub, {frame, got}, {frame, got}, result > 0 ? 0 : result);
    return result > 0 ? result : m->Fail(result);
  };
  long r = fdio::ReadExact(link->Fd(), frame, porthub::kHeaderSize, responseMs);
  if (r == fdio::kTimedOut) return done(mb::kTimeout);
  if (r < 0) return done(mb::kTruncated);
  got = porthub::kHeaderSize;
  porthub::Header h;
  if (!porthub::Decode(frame, h)) {
    link->transport->prepare(*link, 0);  // out of step: drop the rest
    return done(mb::kChecksum);
  }
  const std::int64_t left = std::max<std::int64_t>(0, deadline - fdio::NowMs());
  if (h.length > 0) {
    r = fdio::ReadExact(link->Fd(), frame + got, h.length, static_cast<int>(left));
    if (r <= 0) return done(mb::kTruncated);
    got += h.length;
  }
  const int copied = std::min<int>(h.length, kBufferSize);
  std::memcpy(buffer, frame + porthub::kHeaderSize, static_cast<std::size_t>(copied));
  if (source) *source = static_cast<int>(h.address);
  return done(copied > 0 ? copied : mb::kTruncated);
}

int CPortLink::WaitReadable(int type, int handle, int timeoutMs) {
  Link* link = m->Find(type, handle);
  if (!link) return m->Fail(mb::kNotOpen);
  return link->transport->wait(*link, timeoutMs);
}

unsigned short CPortLink::GetCRC16(const unsigned char* data, int length) {
  if (!data || length <= 0) return 0xFFFF;
  return Crc16Modbus(data, static_cast<std::size_t>(length));
}

int CPortLink::SetSerializeData(const unsigned char* data, int length) {
  Shared& a = Process();
  std::lock_guard lock(a.mutex);
  // A refused block empties the area, so the next reader never sees a previous module's data.
  if (length < 0 || length > kSerializeSize || (length > 0 && !data)) {
    a.serializeLength = 0;
    return m->Fail(-1);
  }
  if (length) std::memcpy(a.serialize, data, static_cast<std::size_t>(length));
  a.serializeLength = length;
  return length;
}

int CPortLink::GetSerializeData(unsigned char* buffer) {
  if (!buffer) return m->Fail(-1);
  Shared& a = Process();
  std::lock_guard lock(a.mutex);
  if (a.serializeLength) std::memcpy(buffer, a.serialize, static_cast<std::size_t>(a.serializeLength));
  return a.serializeLength;
}
