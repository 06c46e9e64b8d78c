#pragma once
// One running copy per user. The first copy holds an flock'ed lock file (the kernel drops
// it when the process dies, so a crash leaves no stale lock) and listens on a local socket;
// a later copy finds the lock taken and asks the first one to come to the front, and to open
// the project it was given.
#include <optional>
#include <string>

namespace corvane::platform {

class CSingleInstance {
public:
  // The files go in $XDG_RUNTIME_DIR, else /tmp/corvane-<uid>. A folder that is not ours or
  // that others may write to is not used: the copy then runs without a lock.
  explicit CSingleInstance(std::string name, std::string folder = {});
  ~CSingleInstance();
  CSingleInstance(const CSingleInstance&) = delete;
  CSingleInstance& operator=(const CSingleInstance&) = delete;

  // True when this is the first copy (it then listens for activation requests).
  bool Acquire();
  // From a later copy: asks the first one to activate its window and, given a project path
  // (absolute: the first copy has its own working folder), to open that project. True when
  // delivered.
  bool ActivateFirst(const std::string& projectPath = {}) const;

  // What a later copy asked for: always the window to the front, and a project when the path
  // is not empty.
  struct Request {
    std::string projectPath;
  };
  static constexpr std::size_t kMaxPathLength = 4096;

  // The first copy's listening socket, to watch for reading; -1 when none.
  int ListenFd() const { return m_listenFd; }
  // Accepts one waiting request; none when the peer sent no valid one in time.
  std::optional<Request> AcceptRequest() const;

  const std::string& LockPath() const { return m_lockPath; }
  const std::string& SocketPath() const { return m_socketPath; }

private:
  std::string m_lockPath;
  std::string m_socketPath;
  int m_lockFd = -1;
  int m_listenFd = -1;
};

}  // namespace corvane::platform
