#include "libs/portlink/SerialLine.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

#include <cerrno>

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
}  // namespace

int SerialLine::Open(const std::string& path, const SerialSettings& s) {
  m_fd.Reset();
  const speed_t speed = SpeedOf(s.baud);
  if (speed == 0 || s.dataBits < 5 || s.dataBits > 8 || s.parity < 0 || s.parity > 2 ||
      (s.stopBits != 1 && s.stopBits != 2) || path.empty())
    return -EINVAL;
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) return -errno;
  if (!::isatty(fd.Get())) return -ENOTTY;
  termios t{};
  if (::tcgetattr(fd.Get(), &t) != 0) return -errno;
  ::cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  static constexpr tcflag_t kSize[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= kSize[s.dataBits - 5] | CLOCAL | CREAD;
  if (s.parity == 1) t.c_cflag |= PARENB | PARODD;
  if (s.parity == 2) t.c_cflag |= PARENB;
  if (s.stopBits == 2) t.c_cflag |= CSTOPB;
  t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  ::cfsetispeed(&t, speed);
  ::cfsetospeed(&t, speed);
  if (::tcsetattr(fd.Get(), TCSANOW, &t) != 0) {
    const int error = errno;
    // A pseudo-terminal keeps no parity; once its other settings are in place it refuses a
    // request whose only change is the parity it cannot hold. There is no wire to check it on.
    if (error != EINVAL || !IsPseudoTerminal(fd.Get())) return -error;
    t.c_cflag &= ~(PARENB | PARODD);
    if (::tcsetattr(fd.Get(), TCSANOW, &t) != 0) return -errno;
  }
  ::ioctl(fd.Get(), TIOCEXCL);  // a second opener (another program) gets EBUSY
  ::tcflush(fd.Get(), TCIOFLUSH);
  m_fd = std::move(fd);
  m_settings = s;
  return 0;
}

long SerialLine::CharTimeUs() const {
  const int bits = 1 + m_settings.dataBits + (m_settings.parity ? 1 : 0) + m_settings.stopBits;
  return m_settings.baud > 0 ? 1000000L * bits / m_settings.baud : 1000;
}

void SerialLine::FlushInput() const {
  if (m_fd) ::tcflush(m_fd.Get(), TCIFLUSH);
}

}  // namespace corvane
