#pragma once
// A network namespace of the caller's own, for tests and benchmarks: loopback up, nothing else
// reachable. As root a plain network namespace; otherwise one inside a user namespace that maps
// this user to root there, where the system allows it. Call it in a child process: the calling
// process stays in the namespace, and it must be single-threaded.
#include <fcntl.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace corvane::test {

inline bool WriteProcFile(const char* path, const std::string& text) {
  const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return ok;
}

inline bool EnterOwnNetNamespace() {
  if (::geteuid() == 0) {
    if (::unshare(CLONE_NEWNET) != 0) return false;
  } else {
    const std::string uid = std::to_string(::geteuid()), gid = std::to_string(::getegid());
    // A process that dropped root's rights itself is not dumpable, so its /proc files stay
    // root's and the maps below could not be written.
    ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) return false;
    if (!WriteProcFile("/proc/self/setgroups", "deny") || !WriteProcFile("/proc/self/uid_map", "0 " + uid + " 1") ||
        !WriteProcFile("/proc/self/gid_map", "0 " + gid + " 1"))
      return false;
  }
  return std::system("ip link set lo up") == 0;
}

// Addresses of `prefix` ("10.99.0.0/16") become devices that never answer: their packets leave
// on a link without address resolution whose other end drops what it gets.
inline bool RouteToSilence(const std::string& prefix) {
  const std::string commands =
      "ip link add cvn-silent type veth peer name cvn-sink && ip link set cvn-silent arp off && "
      "ip link set cvn-silent up && ip link set cvn-sink up && ip route add " + prefix + " dev cvn-silent";
  return std::system(commands.c_str()) == 0;
}

// Runs `body` in a child process inside a network namespace of its own, after `prepare` (routes,
// links) when given; the text `body` returns is what failed, empty when nothing did. Returns the
// child's exit status: 0 passed, 1 failed (`failures` says what), 77 no namespace allowed here.
inline int InOwnNetNamespace(const std::function<std::string()>& body, std::string& failures,
                             const std::function<bool()>& prepare = {}) {
  int out[2];
  if (::pipe(out) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(out[0]);
    if (!EnterOwnNetNamespace() || (prepare && !prepare())) ::_exit(77);
    const std::string text = body();
    if (!text.empty() && ::write(out[1], text.data(), text.size()) < 0) ::_exit(2);
    ::_exit(text.empty() ? 0 : 1);
  }
  ::close(out[1]);
  char chunk[512];
  for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;) failures.append(chunk, static_cast<std::size_t>(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace corvane::test
