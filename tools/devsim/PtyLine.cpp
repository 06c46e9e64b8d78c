#include "tools/devsim/PtyLine.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/devsim/PortRegistry.h"

namespace corvane::devsim {
namespace {
// The kernel hands written bytes to the line discipline from a work queue, within microseconds;
// the client's marking comes back only after this long and once it has read everything.
constexpr auto kSettle = std::chrono::milliseconds(5);
constexpr auto kGiveBack = std::chrono::seconds(2);
}  // namespace

bool PtyLine::Open(const std::string& linkPath, int comPort, UniqueFd& master, std::string& error) {
  master.Reset(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  char name[128] = {};
  if (!master.Valid() || grantpt(master.Get()) != 0 || unlockpt(master.Get()) != 0 ||
      ptsname_r(master.Get(), name, sizeof name) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  m_path = name;
  m_slave.Reset(open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!m_slave.Valid()) {
    error = "cannot open " + m_path;
    return false;
  }
  termios t{};
  if (tcgetattr(m_slave.Get(), &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(m_slave.Get(), TCSANOW, &t);
  }
  if (!linkPath.empty()) {
    const std::string tmp = linkPath + ".devsim-tmp";
    ::unlink(tmp.c_str());
    if (symlink(m_path.c_str(), tmp.c_str()) != 0 || rename(tmp.c_str(), linkPath.c_str()) != 0) {
      ::unlink(tmp.c_str());
      error = "cannot link " + linkPath + ": " + std::strerror(errno);
      return false;
    }
    m_linkPath = linkPath;
    m_linkMade = true;
  }
  if (comPort > 0) {
    if (!PortRegistry::Set(comPort, m_path, error)) return false;
    m_comPort = comPort;
    m_comRegistered = true;
  }
  return true;
}

void PtyLine::Cleanup() {
  if (m_linkMade) {
    char target[256] = {};
    const ssize_t n = readlink(m_linkPath.c_str(), target, sizeof target - 1);
    if (n > 0 && m_path == std::string(target, static_cast<std::size_t>(n))) ::unlink(m_linkPath.c_str());
    m_linkMade = false;
  }
  if (m_comRegistered) {
    PortRegistry::Remove(m_comPort, m_path);
    m_comRegistered = false;
  }
}

void PtyLine::SetPace(int baud, int bitsPerChar) {
  m_char = baud > 0 ? std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
                          1000000000LL * bitsPerChar / baud))
                    : Clock::duration{};
}

PtyLine::Clock::time_point PtyLine::Received(std::size_t n, Clock::time_point now) {
  m_rxFree = std::max(now, m_rxFree) + m_char * static_cast<long>(n);
  return m_rxFree;
}

PtyLine::Clock::time_point PtyLine::Transmit(std::size_t n, Clock::time_point due) {
  // A reply starts once the request has crossed the line, and after what is still being sent.
  const Clock::time_point start = std::max({due, m_rxFree, m_txFree});
  m_txFree = start + m_char * static_cast<long>(n);
  return start + m_char;
}

PtyLine::Bytes PtyLine::ForWrite(const Bytes& data, int markAt) {
  termios t{};
  if (!m_slave.Valid() || tcgetattr(m_slave.Get(), &t) != 0) return data;
  const bool checks = t.c_iflag & INPCK;
  const bool marks = m_unmarked || (t.c_iflag & PARMRK);
  const bool hit = markAt >= 0 && static_cast<std::size_t>(markAt) < data.size() && checks;
  if (!hit && !m_unmarked) return data;  // the terminal doubles a data FF itself
  if (hit && !marks) {                   // checking without marks: the byte reads as NUL
    Bytes out = data;
    out[static_cast<std::size_t>(markAt)] = 0;
    return out;
  }
  if (!m_unmarked) {
    t.c_iflag &= ~PARMRK;
    tcsetattr(m_slave.Get(), TCSANOW, &t);
    m_unmarked = true;
  }
  m_unmarkedAt = Clock::now();
  Bytes out;
  out.reserve(data.size() + 4);
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (hit && i == static_cast<std::size_t>(markAt)) out.insert(out.end(), {0xFF, 0x00});
    else if (data[i] == 0xFF) out.push_back(0xFF);
    out.push_back(data[i]);
  }
  return out;
}

void PtyLine::Tick(Clock::time_point now) {
  if (!m_unmarked || now < m_unmarkedAt + kSettle) return;
  int unread = 0;
  if (ioctl(m_slave.Get(), TIOCINQ, &unread) == 0 && unread > 0 && now < m_unmarkedAt + kGiveBack) return;
  termios t{};
  if (tcgetattr(m_slave.Get(), &t) == 0) {
    t.c_iflag |= PARMRK;
    tcsetattr(m_slave.Get(), TCSANOW, &t);
  }
  m_unmarked = false;
}

std::optional<PtyLine::Clock::time_point> PtyLine::NextTick(Clock::time_point now) const {
  if (!m_unmarked) return std::nullopt;
  return std::max(m_unmarkedAt + kSettle, now + std::chrono::milliseconds(1));
}

}  // namespace corvane::devsim
