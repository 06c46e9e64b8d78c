#include "platform/CSingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace corvane::platform {
namespace {

constexpr char kActivate[] = "activate\n";

// Only a folder of ours that nobody else may write to holds the lock: in a shared /tmp another
// user could otherwise plant a lock that blocks our start, or a socket that hears our requests.
bool SafeFolder(const std::string& folder) {
  struct stat st {};
  return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A runtime folder of another user (kept across sudo, say) gives way to our own in /tmp.
std::string DefaultFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && SafeFolder(runtime))
    return runtime;
  std::string folder = "/tmp/corvane-" + std::to_string(::getuid());
  ::mkdir(folder.c_str(), 0700);
  return folder;
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

}  // namespace

CSingleInstance::CSingleInstance(std::string name, std::string folder) {
  if (folder.empty()) folder = DefaultFolder();
  if (!SafeFolder(folder)) return;  // no lock and no socket: this copy runs unguarded
  m_lockPath = folder + "/" + name + ".lock";
  m_socketPath = folder + "/" + name + ".sock";
}

CSingleInstance::~CSingleInstance() {
  if (m_listenFd >= 0) {
    ::close(m_listenFd);
    ::unlink(m_socketPath.c_str());
  }
  if (m_lockFd >= 0) ::close(m_lockFd);
}

bool CSingleInstance::Acquire() {
  if (m_lockPath.empty()) return true;
  m_lockFd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (m_lockFd < 0) return true;  // no lock possible: run rather than refuse to start
  if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
    ::close(m_lockFd);
    m_lockFd = -1;
    return false;
  }
  // A socket left by a crashed first copy is ours to replace.
  ::unlink(m_socketPath.c_str());
  sockaddr_un address;
  if (!FillAddress(m_socketPath, address)) return true;
  m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (m_listenFd < 0) return true;
  if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(m_listenFd, 4) != 0) {
    ::close(m_listenFd);
    m_listenFd = -1;
  }
  return true;
}

bool CSingleInstance::ActivateFirst() const {
  if (m_socketPath.empty()) return false;
  sockaddr_un address;
  if (!FillAddress(m_socketPath, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool delivered = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
    delivered = ::send(fd, kActivate, sizeof kActivate - 1, MSG_NOSIGNAL) ==
                static_cast<ssize_t>(sizeof kActivate - 1);
  ::close(fd);
  return delivered;
}

bool CSingleInstance::AcceptActivation() const {
  if (m_listenFd < 0) return false;
  const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return false;
  // A peer that sends nothing must not hold the window: wait briefly, read a bounded line.
  char buffer[32] = {};
  pollfd p{fd, POLLIN, 0};
  ssize_t n = 0;
  if (::poll(&p, 1, 200) > 0) n = ::recv(fd, buffer, sizeof buffer - 1, 0);
  ::close(fd);
  return n > 0 && std::strncmp(buffer, kActivate, sizeof kActivate - 2) == 0;
}

}  // namespace corvane::platform
