#include "platform/CSingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace corvane::platform {
namespace {

// A request is one of these words and a newline; "open" is followed by the path up to the end
// of the connection.
constexpr std::string_view kActivate = "activate\n";
constexpr std::string_view kOpen = "open\n";
constexpr int kRequestWaitMs = 200;

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

bool CSingleInstance::ActivateFirst(const std::string& projectPath) const {
  if (m_socketPath.empty() || projectPath.size() > kMaxPathLength) return false;
  sockaddr_un address;
  if (!FillAddress(m_socketPath, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const std::string request =
      projectPath.empty() ? std::string(kActivate) : std::string(kOpen) + projectPath;
  bool delivered = false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::size_t sent = 0;
    while (sent < request.size()) {
      const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      sent += static_cast<std::size_t>(n);
    }
    delivered = sent == request.size();
  }
  ::close(fd);
  return delivered;
}

std::optional<CSingleInstance::Request> CSingleInstance::AcceptRequest() const {
  if (m_listenFd < 0) return std::nullopt;
  const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // A peer that sends nothing, or too much, must not hold the window: the whole request within
  // a short wait, bounded in length, up to the end of the connection.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRequestWaitMs);
  std::string text;
  char buffer[1024];
  bool ended = false;
  while (!ended && text.size() <= kOpen.size() + kMaxPathLength) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ended = n == 0;
      break;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (text.compare(0, kActivate.size(), kActivate) == 0) return Request{};
  if (!ended || text.compare(0, kOpen.size(), kOpen) != 0) return std::nullopt;
  std::string path = text.substr(kOpen.size());
  if (path.empty() || path.size() > kMaxPathLength || path.find('\0') != std::string::npos) return std::nullopt;
  return Request{std::move(path)};
}

}  // namespace corvane::platform
