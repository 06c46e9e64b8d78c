#include "libs/portlink/SerialLine.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvane {

namespace {
speed_t SpeedOf(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return 0;
  }
}

// Slaves of the pseudo-terminal multiplexer (majors 136 to 143): a simulator or a bridge, no wire.
bool IsPseudoTerminal(int fd) {
  struct stat st{};
  return ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

std::string OpenFailure(const std::string& path, int error) {
  std::string why = path + ": " + std::strerror(error);
  if (error == EACCES || error == EPERM) {
    struct stat st{};
    const group* g = ::stat(path.c_str(), &st) == 0 ? ::getgrgid(st.st_gid) : nullptr;
    why += "; add the user to the group owning the device (" + std::string(g ? g->gr_name : "dialout") +
           ") and log in again";
  } else if (error == EBUSY) {
    const std::string holders = SerialLock::ProcessesUsing(path);
    why = path + " is held exclusively by " + (holders.empty() ? std::string("another program") : holders);
  }
  return why;
}
}  // namespace

std::string SerialLine::Availability(const std::string& path) {
  if (::access(path.c_str(), R_OK | W_OK) != 0) return OpenFailure(path, errno);
  const std::string holder = SerialLock::Holder(path);
  return holder.empty() ? holder : path + " is in use by " + holder;
}

std::string SerialLine::Open(const std::string& path, const SerialSettings& s) {
  Close();
  if (path.empty()) return "no device";
  if (SpeedOf(s.baud) == 0) return std::to_string(s.baud) + " baud is not a line speed";
  if (s.dataBits < 5 || s.dataBits > 8 || s.parity < 0 || s.parity > 2 || (s.stopBits != 1 && s.stopBits != 2))
    return "the line format is not valid";
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) return OpenFailure(path, errno);
  if (!::isatty(fd.Get())) return path + " is not a serial device";
  std::string why;
  if (!m_lock.Acquire(fd.Get(), path, why)) return path + " is " + why;
  m_fd = std::move(fd);
  why = Configure(path, s);
  if (why.empty() && s.rs485.enabled) why = EnableRs485(path, s.rs485);
  if (!why.empty()) {
    Close();
    return why;
  }
  ::tcflush(m_fd.Get(), TCIOFLUSH);
  m_settings = s;
  m_pseudo = IsPseudoTerminal(m_fd.Get());
  return {};
}

std::string SerialLine::Configure(const std::string& path, const SerialSettings& s) {
  const int fd = m_fd.Get();
  termios t{};
  if (::tcgetattr(fd, &t) != 0) return path + " is not a serial device";
  ::cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  static constexpr tcflag_t kSize[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSize[s.dataBits - 5] | CLOCAL | CREAD;
  if (s.parity == 1) t.c_cflag |= PARENB | PARODD;
  if (s.parity == 2) t.c_cflag |= PARENB;
  if (s.stopBits == 2) t.c_cflag |= CSTOPB;
  // Parity and framing errors are checked and marked (FF 00 byte, a data FF doubled), so a frame
  // with a bad character fails instead of passing with a wrong byte.
  t.c_iflag &= ~(IXON | IXOFF | IXANY | IGNPAR | ISTRIP | IGNBRK | BRKINT);
  t.c_iflag |= INPCK | PARMRK;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  ::cfsetispeed(&t, SpeedOf(s.baud));
  ::cfsetospeed(&t, SpeedOf(s.baud));
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    const int error = errno;
    // A pseudo-terminal keeps no parity and no character size but 8 bits; once its other settings
    // are in place it refuses a request whose only change is what it cannot hold. There is no
    // wire to check them on.
    if (error != EINVAL || !IsPseudoTerminal(fd))
      return path + " could not be set up with these line settings (" + std::strerror(error) + ")";
    t.c_cflag &= ~(PARENB | PARODD | CSIZE);
    t.c_cflag |= CS8;
    if (::tcsetattr(fd, TCSANOW, &t) != 0)
      return path + " could not be set up with these line settings (" + std::strerror(errno) + ")";
  }
  return {};
}

std::string SerialLine::EnableRs485(const std::string& path, const Rs485Settings& r) {
  serial_rs485 conf{};
  if (::ioctl(m_fd.Get(), TIOCGRS485, &m_previousRs485) != 0)
    return path + ": its driver offers no RS-485 mode (" + std::strerror(errno) + ")";
  conf.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
  conf.delay_rts_before_send = static_cast<__u32>(r.delayBeforeMs);
  conf.delay_rts_after_send = static_cast<__u32>(r.delayAfterMs);
  if (::ioctl(m_fd.Get(), TIOCSRS485, &conf) != 0)
    return path + ": its driver refused the RS-485 mode (" + std::strerror(errno) + ")";
  m_restoreRs485 = true;
  return {};
}

void SerialLine::Close() {
  if (m_fd && m_restoreRs485) ::ioctl(m_fd.Get(), TIOCSRS485, &m_previousRs485);
  m_restoreRs485 = false;
  m_lock.Release();
  m_fd.Reset();
}

long SerialLine::CharTimeUs() const {
  const int bits = 1 + m_settings.dataBits + (m_settings.parity ? 1 : 0) + m_settings.stopBits;
  return m_settings.baud > 0 ? 1000000L * bits / m_settings.baud : 1000;
}

long SerialLine::SilenceUs(int tenths) const {
  if (tenths == 35 && m_settings.baud > 19200) return 1750;
  return CharTimeUs() * tenths / 10;
}

bool SerialLine::FlushInput() const {
  if (!m_fd) return false;
  int waiting = 0;
  const bool stale = ::ioctl(m_fd.Get(), FIONREAD, &waiting) != 0 || waiting > 0;
  if (stale) ::tcflush(m_fd.Get(), TCIFLUSH);
  return stale;
}

}  // namespace corvane
