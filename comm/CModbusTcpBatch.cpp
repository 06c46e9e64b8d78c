#include "comm/CModbusTcpBatch.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#include "libs/portlink/FdIo.h"
#include "libs/portlink/LinkTrace.h"
#include "libs/portlink/ModbusFrame.h"

namespace corvane {
namespace {

namespace mb = modbus;

constexpr std::size_t kMbapSize = 7;
constexpr std::size_t kReplyDataSize = 256;  // as much as CPortLink::Response hands back
constexpr int kProgressTickMs = 100;

// An exchange's frame for the link tracer, named by the device's address and port.
void Trace(trace::Direction direction, std::uint32_t address, int port, const std::vector<std::uint8_t>& bytes,
           int failure) {
  const in_addr a{htonl(address)};
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &a, text, sizeof text);
  trace::TraceEvent e;
  e.timeUs = fdio::NowUs();
  e.direction = direction;
  e.link = std::string(text) + ":" + std::to_string(port);
  e.framing = trace::Framing::Tcp;
  e.bytes = bytes;
  e.summary = trace::LinkTrace::Summarize(trace::Framing::Tcp, bytes, direction == trace::Direction::Sent);
  e.failure = failure;
  trace::LinkTrace::Emit(e);
}

}  // namespace

void CModbusTcpBatch::Add(ModbusTcpQuery query) {
  Exchange e;
  e.query = std::move(query);
  m_exchanges.push_back(std::move(e));
  StartWaiting();
}

void CModbusTcpBatch::StartWaiting() {
  const std::size_t limit = std::max<std::size_t>(1, m_limits.maxInFlight);
  while (m_next < m_exchanges.size() && m_inFlight < limit) {
    if (!Start(m_next)) {
      // Out of descriptors: wait for a socket in flight to end; with none, this one fails.
      if (m_inFlight > 0) return;
      End(m_next, mb::kIo);
    }
    ++m_next;
  }
}

// False when no socket could be made for want of descriptors.
bool CModbusTcpBatch::Start(std::size_t i) {
  Exchange& e = m_exchanges[i];
  e.fd = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!e.fd) {
    if (errno == EMFILE || errno == ENFILE) return false;
    End(i, mb::kIo);
    return true;
  }
  ++m_inFlight;
  const int one = 1;
  ::setsockopt(e.fd.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(m_port));
  to.sin_addr.s_addr = htonl(e.query.address);
  e.stage = Stage::Connecting;
  e.deadline = fdio::NowMs() + m_limits.connectTimeoutMs;
  if (::connect(e.fd.Get(), reinterpret_cast<sockaddr*>(&to), sizeof to) == 0)
    Connected(i);
  else if (errno != EINPROGRESS)
    End(i, mb::kIo);
  return true;
}

void CModbusTcpBatch::Connected(std::size_t i) {
  Exchange& e = m_exchanges[i];
  const ModbusTcpQuery& q = e.query;
  if (q.function == 0) return End(i, 1);
  e.out = mb::EncodeTcp(static_cast<std::uint16_t>(i + 1), q.unit, q.function, q.data.data(), q.data.size());
  if (e.out.empty()) return End(i, mb::kBadArgument);
  e.stage = Stage::Sending;
  e.deadline = fdio::NowMs() + m_limits.responseTimeoutMs;
  Send(i);
}

void CModbusTcpBatch::Send(std::size_t i) {
  Exchange& e = m_exchanges[i];
  const ssize_t n = ::send(e.fd.Get(), e.out.data() + e.sent, e.out.size() - e.sent, MSG_NOSIGNAL);
  if (n < 0) {
    if (errno != EAGAIN && errno != EINTR) End(i, mb::kIo);
    return;
  }
  e.sent += static_cast<std::size_t>(n);
  if (e.sent < e.out.size()) return;
  e.stage = Stage::Receiving;
  if (trace::LinkTrace::Active()) Trace(trace::Direction::Sent, e.query.address, m_port, e.out, 0);
}

// Reads no further than the frame its header announces.
void CModbusTcpBatch::Receive(std::size_t i) {
  Exchange& e = m_exchanges[i];
  const std::size_t had = e.in.size();
  int pduLength = had >= kMbapSize ? mb::MbapPduLength(e.in.data()) : 0;
  const std::size_t want = had < kMbapSize ? kMbapSize : kMbapSize + static_cast<std::size_t>(pduLength);
  e.in.resize(want);
  const ssize_t n = ::recv(e.fd.Get(), e.in.data() + had, want - had, 0);
  e.in.resize(had + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
  if (n == 0) return End(i, mb::kTruncated);
  if (n < 0) {
    if (errno != EAGAIN && errno != EINTR) End(i, mb::kIo);
    return;
  }
  if (e.in.size() < kMbapSize) return;
  pduLength = mb::MbapPduLength(e.in.data());
  if (pduLength < 0) return End(i, pduLength);
  if (e.in.size() == kMbapSize + static_cast<std::size_t>(pduLength)) Decode(i, static_cast<std::size_t>(pduLength));
}

void CModbusTcpBatch::Decode(std::size_t i, std::size_t pduLength) {
  Exchange& e = m_exchanges[i];
  if (!mb::MbapMatches(e.in.data(), static_cast<std::uint16_t>(i + 1))) return End(i, mb::kTransaction);
  if (e.in[6] != e.query.unit) return End(i, mb::kStation);
  std::vector<std::uint8_t>& data = e.answer.data;
  data.resize(kReplyDataSize);
  const int n = mb::DecodePdu(e.in.data() + kMbapSize, pduLength, e.query.function, data.data(), data.size());
  data.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  End(i, n);
}

void CModbusTcpBatch::End(std::size_t i, int result) {
  Exchange& e = m_exchanges[i];
  // What came back to a request that went out, or why nothing usable did.
  if (e.stage == Stage::Receiving && trace::LinkTrace::Active())
    Trace(trace::Direction::Received, e.query.address, m_port, e.in, result > 0 ? 0 : result);
  if (e.fd) --m_inFlight;
  e.fd.Reset();
  e.stage = Stage::Done;
  e.answer.result = result;
  ++m_done;
  if (m_progress && *m_progress) (*m_progress)(m_done, m_exchanges.size());
}

void CModbusTcpBatch::Handle(std::size_t i, short events) {
  Exchange& e = m_exchanges[i];
  if (events == 0) return;
  switch (e.stage) {
    case Stage::Connecting: {
      int error = 0;
      socklen_t length = sizeof error;
      if (::getsockopt(e.fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return End(i, mb::kIo);
      return Connected(i);
    }
    case Stage::Sending: return Send(i);
    case Stage::Receiving: return Receive(i);
    case Stage::Waiting:
    case Stage::Done: return;
  }
}

void CModbusTcpBatch::Poll(int timeoutMs) {
  std::vector<pollfd> fds;
  std::vector<std::size_t> owners;
  std::int64_t wake = fdio::NowMs() + std::max(0, timeoutMs);
  for (std::size_t i = 0; i < m_next; ++i) {
    const Exchange& e = m_exchanges[i];
    if (e.stage == Stage::Done || e.stage == Stage::Waiting) continue;
    fds.push_back({e.fd.Get(), static_cast<short>(e.stage == Stage::Receiving ? POLLIN : POLLOUT), 0});
    owners.push_back(i);
    wake = std::min(wake, e.deadline);
  }
  if (fds.empty()) return StartWaiting();
  const int r = ::poll(fds.data(), fds.size(), static_cast<int>(std::max<std::int64_t>(0, wake - fdio::NowMs())));
  if (r < 0 && errno != EINTR) {
    for (std::size_t i : owners) End(i, mb::kIo);
  } else {
    for (std::size_t k = 0; r > 0 && k < fds.size(); ++k) Handle(owners[k], fds[k].revents);
  }
  const std::int64_t now = fdio::NowMs();
  for (std::size_t i : owners)
    if (m_exchanges[i].stage != Stage::Done && now >= m_exchanges[i].deadline) End(i, mb::kTimeout);
  StartWaiting();
}

std::vector<ModbusTcpAnswer> CModbusTcpBatch::Finish(const Progress& progress) {
  m_progress = &progress;
  if (progress) progress(m_done, m_exchanges.size());
  while (Busy()) {
    // Told also while nothing ends, so a progress window keeps being painted.
    Poll(progress ? kProgressTickMs : m_limits.connectTimeoutMs + m_limits.responseTimeoutMs);
    if (progress && Busy()) progress(m_done, m_exchanges.size());
  }
  m_progress = nullptr;
  std::vector<ModbusTcpAnswer> answers;
  answers.reserve(m_exchanges.size());
  for (Exchange& e : m_exchanges) answers.push_back(std::move(e.answer));
  m_exchanges.clear();
  m_next = m_inFlight = m_done = 0;
  return answers;
}

std::vector<ModbusTcpAnswer> CModbusTcpBatch::Run(int port, ModbusTcpLimits limits,
                                                  std::span<const ModbusTcpQuery> queries, const Progress& progress) {
  CModbusTcpBatch batch(port, limits);
  for (const ModbusTcpQuery& q : queries) batch.Add(q);
  return batch.Finish(progress);
}

}  // namespace corvane
