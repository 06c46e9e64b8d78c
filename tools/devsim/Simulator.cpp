#include "tools/devsim/Simulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/devsim/Discovery.h"
#include "tools/devsim/Numbers.h"

namespace corvane::devsim {

namespace {
constexpr std::size_t kMaxStreams = 256;
constexpr std::size_t kMaxSerialInput = 1024;
constexpr std::size_t kMaxTcpInput = 512;
constexpr std::size_t kMaxPorthubLine = 4096;
constexpr std::size_t kMaxDatagrams = 200000;
constexpr std::size_t kMaxUdpReply = 65000;
constexpr std::size_t kManagerHeader = 16;
constexpr std::size_t kMaxManagerPayload = 1024;
constexpr std::uint16_t kManagerMagic = 0x5048;
constexpr auto kRtuSilence = std::chrono::milliseconds(20);

std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

sockaddr_in Inet(std::uint32_t ip, int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(ip);
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  return a;
}

int BoundPort(int fd) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) return -1;
  return ntohs(a.sin_port);
}

bool Listen(UniqueFd& fd, std::uint32_t ip, int port, int& bound, std::string& error) {
  fd.Reset(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  const int one = 1;
  setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  const sockaddr_in a = Inet(ip, port);
  if (!fd.Valid() || bind(fd.Get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
      listen(fd.Get(), 16) != 0) {
    error = "cannot listen on " + FormatIPv4(ip) + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return false;
  }
  bound = BoundPort(fd.Get());
  return true;
}

bool FillUnix(sockaddr_un& a, const std::string& path) {
  a = {};
  a.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof a.sun_path) return false;
  std::memcpy(a.sun_path, path.c_str(), path.size());
  return true;
}
}  // namespace

Simulator::Simulator(SimOptions options) : m_opt(std::move(options)) {
  for (const DeviceSpec& spec : m_opt.devices) m_devices.push_back({spec, spec.InitialTables(), 0});
}

Simulator::~Simulator() { Cleanup(); }

void Simulator::Log(const std::string& text) const {
  if (m_opt.verbose) std::fprintf(stderr, "devsim: %s\n", text.c_str());
}

bool Simulator::Start(int signalFd, std::string& error) {
  m_signalFd = signalFd;
  return (!m_opt.pty || OpenPty(error)) && (!m_opt.tcp || OpenTcp(error)) && (!m_opt.udp || OpenUdp(error)) &&
         (!m_opt.porthub || OpenPorthub(error));
}

bool Simulator::OpenPty(std::string& error) {
  m_pty = std::make_unique<Stream>();
  m_pty->kind = Kind::Pty;
  if (!m_line.Open(m_opt.linkPath, m_opt.comPort, m_pty->fd, error)) return false;
  if (m_opt.paceBaud > 0) {
    m_line.SetPace(m_opt.paceBaud, m_opt.paceBits);
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);  // characters a few tens of microseconds apart
  }
  return true;
}

bool Simulator::OpenTcp(std::string& error) {
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    const DeviceSpec& s = m_devices[i].spec;
    const int port = s.tcpPort >= 0 ? s.tcpPort : m_opt.tcpPort;
    auto it = std::find_if(m_tcp.begin(), m_tcp.end(), [&](const TcpListener& l) {
      return l.ip == s.ip && (l.port == port || (port == 0 && s.tcpPort < 0));
    });
    if (it == m_tcp.end()) {
      TcpListener l;
      l.ip = s.ip;
      if (!Listen(l.fd, s.ip, port, l.port, error)) return false;
      m_tcp.push_back(std::move(l));
      it = m_tcp.end() - 1;
    }
    it->devices.push_back(i);
  }
  return true;
}

bool Simulator::OpenUdp(std::string& error) {
  std::uint32_t ip = 0;
  if (!ParseIPv4(m_opt.udpBind, ip)) return error = "bad --udp-bind " + m_opt.udpBind, false;
  m_udp.Reset(socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  const int one = 1;
  setsockopt(m_udp.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  setsockopt(m_udp.Get(), SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  const int big = 4 * 1024 * 1024;
  setsockopt(m_udp.Get(), SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
  const sockaddr_in a = Inet(ip, m_opt.udpPort);
  if (!m_udp.Valid() || bind(m_udp.Get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
    error = "cannot bind udp " + m_opt.udpBind + ":" + std::to_string(m_opt.udpPort) + ": " + std::strerror(errno);
    return false;
  }
  m_udpPort = BoundPort(m_udp.Get());
  return true;
}

bool Simulator::OpenPorthub(std::string& error) {
  std::uint32_t ip = 0;
  if (!ParseIPv4(m_opt.porthubBind, ip) || !Listen(m_manager, ip, m_opt.porthubTcpPort, m_managerPort, error))
    return error.empty() ? (error = "bad manager address", false) : false;
  sockaddr_un a{};
  if (!FillUnix(a, m_opt.porthubSocket)) return error = "bad PORTHUB socket path", false;
  struct stat st{};
  if (lstat(m_opt.porthubSocket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) ::unlink(m_opt.porthubSocket.c_str());
  m_porthub.Reset(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!m_porthub.Valid() || bind(m_porthub.Get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 ||
      listen(m_porthub.Get(), 16) != 0) {
    error = "cannot listen on " + m_opt.porthubSocket + ": " + std::strerror(errno);
    return false;
  }
  m_porthubBound = true;
  return true;
}

void Simulator::Cleanup() {
  m_line.Cleanup();
  if (m_porthubBound) {
    ::unlink(m_opt.porthubSocket.c_str());
    m_porthubBound = false;
  }
}

std::string Simulator::ReadyLine() const {
  std::string line = "READY";
  if (m_pty) line += " pty=" + m_line.Path();
  if (!m_tcp.empty()) {
    line += " tcp=";
    for (std::size_t i = 0; i < m_tcp.size(); ++i)
      line += (i ? "," : "") + FormatIPv4(m_tcp[i].ip) + ":" + std::to_string(m_tcp[i].port);
  }
  if (m_udp.Valid()) line += " udp=" + m_opt.udpBind + ":" + std::to_string(m_udpPort);
  if (m_porthub.Valid())
    line += " porthub=" + m_opt.porthubSocket + " porthub-port=" + std::to_string(m_managerPort);
  return line;
}

// Faults hit the first `count` replies of a device, or all of them.
const FaultSet& Simulator::FaultsFor(Device& device) {
  static const FaultSet kNone;
  const FaultSet& f = device.spec.faults;
  if (!f.Any() || (f.count > 0 && device.faulted >= f.count)) return kNone;
  ++device.faulted;
  return f;
}

void Simulator::ApplyPduFaults(Bytes& pdu, const FaultSet& f) {
  if (pdu.empty()) return;
  if (f.exception != 0) {
    pdu = ModbusCodec::Exception(pdu[0] & 0x7F, static_cast<std::uint8_t>(f.exception));
  } else if (f.badCount && (pdu[0] == 3 || pdu[0] == ModbusCodec::kIdentityFunction) && pdu.size() >= 2) {
    pdu[1] = static_cast<std::uint8_t>(pdu[1] + 2);
  }
}

void Simulator::Schedule(Stream& stream, Bytes frame, const FaultSet& f, bool canClose) {
  if (f.noReply || frame.empty()) return;
  const auto due = Clock::now() + std::chrono::milliseconds(f.lateMs);
  bool close = false;
  if (f.closeMidFrame) {
    frame.resize(std::max<std::size_t>(1, frame.size() / 2));
    close = canClose;
  }
  const bool pty = &stream == m_pty.get();
  const int markAt = pty && f.parityByte >= 0
                         ? static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(f.parityByte), frame.size() - 1))
                         : -1;
  if (pty && m_line.Paced() && f.byteGapMs < 0) {
    SchedulePaced(std::move(frame), due, markAt);
  } else if (f.byteGapMs >= 0) {
    for (std::size_t i = 0; i < frame.size(); ++i)
      stream.out.push_back({due + std::chrono::milliseconds(f.byteGapMs) * static_cast<int>(i), {frame[i]},
                            close && i + 1 == frame.size(), static_cast<int>(i) == markAt ? 0 : -1});
  } else {
    stream.out.push_back({due, std::move(frame), close, markAt});
  }
}

// A paced line: each character crosses it in one character time, after those before it.
void Simulator::SchedulePaced(Bytes frame, Clock::time_point due, int markAt) {
  const Clock::time_point first = m_line.Transmit(frame.size(), due);
  for (std::size_t i = 0; i < frame.size(); ++i)
    m_pty->out.push_back({first + m_line.CharTime() * static_cast<long>(i), {frame[i]}, false,
                          static_cast<int>(i) == markAt ? 0 : -1});
}

// Every device shares the serial line; station 0 is answered by the first one,
// which is what the search's probes expect.
Simulator::Device* Simulator::SerialDevice(std::uint8_t station) {
  for (Device& d : m_devices)
    if (d.spec.station == station) return &d;
  if (station == 0 && !m_devices.empty()) return &m_devices.front();
  return nullptr;
}

void Simulator::HandleSerialModbus(const Bytes& adu, bool ascii) {
  if (adu.size() < 2) return;
  Device* d = SerialDevice(adu[0]);
  if (!d) return;
  const FaultSet& f = FaultsFor(*d);
  Bytes pdu = ModbusCodec::Answer(d->tables, adu.data() + 1, adu.size() - 1);
  ApplyPduFaults(pdu, f);
  const auto station = static_cast<std::uint8_t>(adu[0] + (f.wrongStation ? 1 : 0));
  Schedule(*m_pty, ascii ? ModbusCodec::FrameAscii(station, pdu, f.badCheck) : ModbusCodec::FrameRtu(station, pdu, f.badCheck),
           f, false);
  Log(std::string(ascii ? "ascii" : "rtu") + " request fn " + std::to_string(adu[1]));
}

void Simulator::HandleSlip(const std::uint8_t* data, std::size_t size) {
  const Bytes req = Discovery::SlipDecode(data, size);
  if (!Discovery::IsRequest(req.data(), req.size()) || m_devices.empty()) return;
  // A check byte, when present, must be right; a bad request gets no answer.
  if (req.size() > Discovery::kRequestSize &&
      Discovery::Check(req.data(), Discovery::kRequestSize) != req[Discovery::kRequestSize])
    return;
  Device& d = m_devices.front();
  const FaultSet& f = FaultsFor(d);
  Bytes rec = Discovery::Record(d.spec.code, d.spec.station, d.spec.ip);
  std::uint8_t check = Discovery::Check(rec.data(), rec.size());
  if (f.badCheck) check = static_cast<std::uint8_t>(check + 1);
  rec.push_back(check);
  Schedule(*m_pty, Discovery::SlipEncode(rec), f, false);
  Log("slip discovery");
}

void Simulator::ProcessPty(bool silenceOver) {
  Bytes& in = m_pty->in;
  while (!in.empty()) {
    const std::uint8_t b0 = in[0];
    if (b0 == 0xC0) {
      const auto end = std::find(in.begin() + 1, in.end(), std::uint8_t{0xC0});
      if (end == in.begin() + 1) {  // back-to-back ENDs: an empty frame
        in.erase(in.begin());
        continue;
      }
      if (end != in.end()) {
        HandleSlip(in.data() + 1, static_cast<std::size_t>(end - in.begin() - 1));
        in.erase(in.begin(), end + 1);
        continue;
      }
      if (silenceOver) in.clear();
      break;
    }
    if (b0 == ':' && m_opt.mode != SerialMode::Rtu) {
      const auto nl = std::find(in.begin(), in.end(), std::uint8_t{'\n'});
      if (nl != in.end()) {
        std::string text(in.begin() + 1, nl);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        Bytes adu;
        if (ModbusCodec::DecodeAscii(text, adu)) HandleSerialModbus(adu, true);
        in.erase(in.begin(), nl + 1);
        continue;
      }
      break;
    }
    if (m_opt.mode == SerialMode::Ascii) {  // noise between ASCII frames
      in.erase(in.begin());
      continue;
    }
    // RTU: requests of 8 bytes (reads, single writes), functions 15 and 16 by their byte count,
    // 43 of 7 bytes, anything else ends at a silence.
    std::size_t frame = 0;
    if (in.size() >= 8 && ModbusCodec::RtuCrcOk(in.data(), 8)) frame = 8;
    else if (in.size() >= 7 && (in[1] == 15 || in[1] == 16) && in.size() >= 9u + in[6] &&
             ModbusCodec::RtuCrcOk(in.data(), 9u + in[6]))
      frame = 9u + in[6];
    else if (in.size() >= 7 && in[1] == ModbusCodec::kReadDeviceId && ModbusCodec::RtuCrcOk(in.data(), 7))
      frame = 7;
    else if (silenceOver && ModbusCodec::RtuCrcOk(in.data(), in.size())) frame = in.size();
    if (frame == 0) {
      if (silenceOver) in.clear();
      break;
    }
    HandleSerialModbus(Bytes(in.begin(), in.begin() + static_cast<long>(frame) - 2), false);
    in.erase(in.begin(), in.begin() + static_cast<long>(frame));
  }
}

void Simulator::ProcessTcp(Stream& s) {
  TcpListener& l = m_tcp[s.listener];
  while (s.in.size() >= 7) {
    const std::uint16_t tid = Be16(s.in.data());
    const std::uint16_t length = Be16(s.in.data() + 4);
    if (Be16(s.in.data() + 2) != 0 || length < 2 || length > 254) {
      s.dead = true;  // not Modbus TCP: drop the connection
      return;
    }
    if (s.in.size() < 6u + length) return;
    const std::uint8_t unit = s.in[6];
    Device* d = nullptr;
    for (std::size_t i : l.devices)
      if (m_devices[i].spec.station == unit) d = &m_devices[i];
    // Every unit reaches a listener's only device, unless the stations are served as given.
    if (!d && !m_opt.exactStations && (unit == 0 || unit == 0xFF || l.devices.size() == 1))
      d = &m_devices[l.devices.front()];
    if (d) {
      const FaultSet& f = FaultsFor(*d);
      Bytes pdu = ModbusCodec::Answer(d->tables, s.in.data() + 7, length - 1u);
      ApplyPduFaults(pdu, f);
      Schedule(s,
               ModbusCodec::FrameTcp(static_cast<std::uint16_t>(tid + (f.wrongTid ? 1 : 0)),
                                     static_cast<std::uint8_t>(unit + (f.wrongStation ? 1 : 0)), pdu),
               f, true);
      Log("tcp request fn " + std::to_string(s.in[7]));
    }
    s.in.erase(s.in.begin(), s.in.begin() + 6 + length);
  }
}

// Wire format: the request is the line "1224 <reply socket path>\n"; the answer, sent to
// that unix stream socket, is "1225 <port>\n". The request connection is closed after
// the answer went out, so a caller can wait for its end of file.
void Simulator::ProcessPorthub(Stream& s) {
  const auto nl = std::find(s.in.begin(), s.in.end(), std::uint8_t{'\n'});
  if (nl == s.in.end()) {
    if (s.in.size() > kMaxPorthubLine) s.dead = true;
    return;
  }
  std::string line(s.in.begin(), nl);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  s.dead = true;
  if (line.rfind("1224 ", 0) != 0 || m_opt.porthubSilent) return;
  const std::string path = line.substr(5);
  sockaddr_un a{};
  if (!FillUnix(a, path)) return;
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.Valid() || connect(fd.Get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
    Log("cannot answer 1224 on " + path);
    return;
  }
  const int port = m_opt.porthubAnswer >= 0 ? m_opt.porthubAnswer : m_managerPort;
  const std::string answer = "1225 " + std::to_string(port) + "\n";
  if (send(fd.Get(), answer.data(), answer.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(answer.size()))
    Log("short 1225 answer");
  Log("answered 1224 with " + answer);
}

// Manager link frames, both ways: a 16-byte big-endian header (magic 0x5048, command, driver id,
// IPv4, UDP port, payload length) and the payload. A discovery request to 255.255.255.255 (or 0)
// is answered by every device, one to an address by the device of that address.
void Simulator::ProcessManager(Stream& s) {
  while (s.in.size() >= kManagerHeader) {
    const std::uint8_t* h = s.in.data();
    const std::size_t length = Be16(h + 14);
    if (Be16(h) != kManagerMagic || length > kMaxManagerPayload) {
      s.dead = true;
      return;
    }
    if (s.in.size() < kManagerHeader + length) return;
    const std::uint32_t target = (std::uint32_t{Be16(h + 8)} << 16) | Be16(h + 10);
    if (Discovery::IsRequest(h + kManagerHeader, length)) {
      for (Device& d : m_devices) {
        if (target != 0xFFFFFFFF && target != 0 && target != d.spec.ip) continue;
        const FaultSet& f = FaultsFor(d);
        Bytes rec = Discovery::Record(d.spec.code, d.spec.station, d.spec.ip);
        rec.resize(std::min<std::size_t>(static_cast<std::size_t>(f.udpSize), kMaxManagerPayload), 0);
        Bytes frame(h, h + 8);  // magic, command and driver id echoed
        for (int i = 3; i >= 0; --i) frame.push_back(static_cast<std::uint8_t>(d.spec.ip >> (8 * i)));
        frame.insert(frame.end(), {h[12], h[13], static_cast<std::uint8_t>(rec.size() >> 8),
                                   static_cast<std::uint8_t>(rec.size() & 0xFF)});
        frame.insert(frame.end(), rec.begin(), rec.end());
        for (int c = 0; c < f.udpCopies && s.out.size() < kMaxDatagrams; ++c) Schedule(s, frame, f, true);
      }
      Log("manager-link discovery to " + FormatIPv4(target));
    }
    s.in.erase(s.in.begin(), s.in.begin() + static_cast<long>(kManagerHeader + length));
  }
}

void Simulator::ReadStream(Stream& s) {
  std::uint8_t buf[512];
  const ssize_t n = read(s.fd.Get(), buf, sizeof buf);
  if (n < 0) {
    if (errno != EAGAIN && errno != EINTR && s.kind != Kind::Pty) s.dead = true;
    return;
  }
  if (n == 0) {
    if (s.kind != Kind::Pty) s.dead = true;
    return;
  }
  s.lastRx = Clock::now();
  if (s.kind == Kind::Pty && m_line.Paced()) s.lastRx = m_line.Received(static_cast<std::size_t>(n), s.lastRx);
  const std::size_t limit = s.kind == Kind::Pty         ? kMaxSerialInput
                            : s.kind == Kind::ModbusTcp   ? kMaxTcpInput
                            : s.kind == Kind::ManagerLink ? kManagerHeader + kMaxManagerPayload
                                                          : kMaxPorthubLine + 512;
  if (s.in.size() + static_cast<std::size_t>(n) > limit) {
    if (s.kind == Kind::Pty) s.in.clear();
    else {
      s.dead = true;
      return;
    }
  }
  s.in.insert(s.in.end(), buf, buf + n);
  if (s.kind == Kind::Pty) {
    ProcessPty(false);  // paced, its reply waits until the request has crossed the line
  } else if (s.kind == Kind::ModbusTcp) ProcessTcp(s);
  else if (s.kind == Kind::PorthubRequest) ProcessPorthub(s);
  else ProcessManager(s);
}

void Simulator::ReadUdp() {
  for (int round = 0; round < 64; ++round) {
    std::uint8_t buf[2048];
    sockaddr_in from{};
    socklen_t len = sizeof from;
    const ssize_t n = recvfrom(m_udp.Get(), buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
    if (n < 0) return;
    if (!Discovery::IsRequest(buf, static_cast<std::size_t>(n))) continue;
    Log("udp discovery from " + FormatIPv4(ntohl(from.sin_addr.s_addr)));
    for (Device& d : m_devices) {
      const FaultSet& f = FaultsFor(d);
      if (f.noReply) continue;
      Bytes rec = Discovery::Record(d.spec.code, d.spec.station, d.spec.ip);
      rec.resize(std::min<std::size_t>(static_cast<std::size_t>(f.udpSize), kMaxUdpReply), 0);
      const auto due = Clock::now() + std::chrono::milliseconds(f.lateMs);
      // Kept in order of time, so a late device never holds back a prompt one.
      auto at = std::upper_bound(m_datagrams.begin(), m_datagrams.end(), due,
                                 [](Clock::time_point t, const Datagram& d) { return t < d.due; });
      for (int c = 0; c < f.udpCopies && m_datagrams.size() < kMaxDatagrams; ++c)
        at = m_datagrams.insert(at, {due, from, rec}) + 1;
    }
  }
}

bool Simulator::FlushStream(Stream& s) {
  const auto now = Clock::now();
  while (!s.out.empty() && s.out.front().due <= now) {
    Chunk& c = s.out.front();
    if (s.kind == Kind::Pty && !c.prepared) {
      c.data = m_line.ForWrite(c.data, c.markAt);
      c.prepared = true;
    }
    const ssize_t n = s.kind == Kind::Pty ? write(s.fd.Get(), c.data.data(), c.data.size())
                                          : send(s.fd.Get(), c.data.data(), c.data.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) return false;
      if (s.kind != Kind::Pty) s.dead = true;
      s.out.clear();
      return true;
    }
    c.data.erase(c.data.begin(), c.data.begin() + n);
    if (!c.data.empty()) return false;
    const bool close = c.closeAfter;
    s.out.pop_front();
    if (close) {
      s.dead = true;
      s.out.clear();
    }
  }
  return true;
}

bool Simulator::FlushUdp() {
  const auto now = Clock::now();
  while (!m_datagrams.empty() && m_datagrams.front().due <= now) {
    Datagram& d = m_datagrams.front();
    const ssize_t n =
        sendto(m_udp.Get(), d.data.data(), d.data.size(), 0, reinterpret_cast<const sockaddr*>(&d.to), sizeof d.to);
    if (n < 0 && (errno == EAGAIN || errno == ENOBUFS)) return false;
    m_datagrams.pop_front();
  }
  return true;
}

void Simulator::Accept(int listenFd, Kind kind, std::size_t listener) {
  UniqueFd fd(accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
  if (!fd.Valid() || m_streams.size() >= kMaxStreams) return;
  auto s = std::make_unique<Stream>();
  s->fd = std::move(fd);
  s->kind = kind;
  s->listener = listener;
  m_streams.push_back(std::move(s));
}

// The next moment something is due: delayed output, a request that has crossed a paced line,
// the silence that ends an RTU frame, the line's marking to give back.
Simulator::Clock::time_point Simulator::NextDeadline(Clock::time_point now) const {
  auto next = Clock::time_point::max();
  auto consider = [&](Clock::time_point t) { next = std::min(next, t); };
  if (m_pty && !m_pty->out.empty()) consider(m_pty->out.front().due);
  if (m_pty && !m_pty->in.empty()) consider(m_pty->lastRx + kRtuSilence);
  if (const auto tick = m_line.NextTick(now)) consider(*tick);
  for (const auto& s : m_streams)
    if (!s->out.empty()) consider(s->out.front().due);
  if (!m_datagrams.empty()) consider(m_datagrams.front().due);
  return next;
}

void Simulator::Run() {
  std::vector<pollfd> fds;
  bool stop = false;
  bool retry = false;
  while (!stop) {
    const auto now = Clock::now();
    auto next = NextDeadline(now);
    if (retry) next = std::min(next, now + std::chrono::milliseconds(2));
    timespec wait{};
    if (next != Clock::time_point::max()) {
      const auto ns = std::clamp<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(next - now).count(), 0,
                                            60000000000LL);
      wait = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    }

    fds.clear();
    fds.push_back({m_signalFd, POLLIN, 0});
    const std::size_t ptyAt = fds.size();
    if (m_pty) fds.push_back({m_pty->fd.Get(), POLLIN, 0});
    const std::size_t tcpAt = fds.size();
    for (const TcpListener& l : m_tcp) fds.push_back({l.fd.Get(), POLLIN, 0});
    const std::size_t udpAt = fds.size();
    if (m_udp.Valid()) fds.push_back({m_udp.Get(), POLLIN, 0});
    const std::size_t hubAt = fds.size();
    if (m_porthub.Valid()) {
      fds.push_back({m_porthub.Get(), POLLIN, 0});
      fds.push_back({m_manager.Get(), POLLIN, 0});
    }
    const std::size_t streamAt = fds.size();
    for (const auto& s : m_streams) fds.push_back({s->fd.Get(), POLLIN, 0});

    const int r = ppoll(fds.data(), fds.size(), next == Clock::time_point::max() ? nullptr : &wait, nullptr);
    if (r < 0 && errno != EINTR) break;
    if (r > 0) {
      if (fds[0].revents) stop = true;
      if (m_pty && (fds[ptyAt].revents & POLLIN)) ReadStream(*m_pty);
      for (std::size_t i = 0; i < m_tcp.size(); ++i)
        if (fds[tcpAt + i].revents & POLLIN) Accept(m_tcp[i].fd.Get(), Kind::ModbusTcp, i);
      if (m_udp.Valid() && (fds[udpAt].revents & POLLIN)) ReadUdp();
      if (m_porthub.Valid()) {
        if (fds[hubAt].revents & POLLIN) Accept(m_porthub.Get(), Kind::PorthubRequest, 0);
        if (fds[hubAt + 1].revents & POLLIN) Accept(m_manager.Get(), Kind::ManagerLink, 0);
      }
      const std::size_t polled = fds.size() - streamAt;
      for (std::size_t i = 0; i < polled && i < m_streams.size(); ++i)
        if (fds[streamAt + i].revents & (POLLIN | POLLHUP | POLLERR)) ReadStream(*m_streams[i]);
    }
    if (m_pty && !m_pty->in.empty() && Clock::now() >= m_pty->lastRx + kRtuSilence) ProcessPty(true);
    m_line.Tick(Clock::now());

    retry = false;
    if (m_pty && !FlushStream(*m_pty)) retry = true;
    for (auto& s : m_streams)
      if (!s->dead && !FlushStream(*s)) retry = true;
    if (!FlushUdp()) retry = true;
    std::erase_if(m_streams, [](const std::unique_ptr<Stream>& s) { return s->dead; });
  }
  Cleanup();
}

}  // namespace corvane::devsim
