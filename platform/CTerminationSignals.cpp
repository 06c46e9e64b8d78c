#include "platform/CTerminationSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace corvane::platform {
namespace {

constexpr int kSignals[3] = {SIGTERM, SIGINT, SIGHUP};
volatile sig_atomic_t g_writeFd = -1;

extern "C" void OnTerminationSignal(int signal) {
  const int saved = errno;
  const int fd = g_writeFd;
  if (fd >= 0) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to end: dropping this one loses nothing.
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

CTerminationSignals::CTerminationSignals() {
  if (g_writeFd >= 0) return;  // another object owns the signals
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_readFd = fds[0];
  m_writeFd = fds[1];
  g_writeFd = m_writeFd;
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) {
    m_installed[i] = ::sigaction(kSignals[i], &action, &m_previous[i]) == 0;
    if (!m_installed[i]) {
      Release();
      return;
    }
  }
}

CTerminationSignals::~CTerminationSignals() { Release(); }

void CTerminationSignals::Release() {
  for (int i = 0; i < 3; ++i) {
    if (m_installed[i]) ::sigaction(kSignals[i], &m_previous[i], nullptr);
    m_installed[i] = false;
  }
  if (m_writeFd >= 0 && g_writeFd == m_writeFd) g_writeFd = -1;
  if (m_readFd >= 0) ::close(m_readFd);
  if (m_writeFd >= 0) ::close(m_writeFd);
  m_readFd = m_writeFd = -1;
}

int CTerminationSignals::TakeSignal() const {
  if (m_readFd < 0) return 0;
  unsigned char byte = 0;
  return ::read(m_readFd, &byte, 1) == 1 ? byte : 0;
}

}  // namespace corvane::platform
