#include "libs/portlink/SerialLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace corvane {
namespace {

constexpr std::size_t kMaxLockLines = 100000;  // /proc/locks of a busy machine, bounded
constexpr int kMaxProcesses = 65536;
constexpr int kMaxFdsPerProcess = 4096;
constexpr std::size_t kMaxHolders = 3;

std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

bool IsNumber(const char* s) {
  if (!*s) return false;
  for (; *s; ++s)
    if (*s < '0' || *s > '9') return false;
  return true;
}

// The process holding a flock on the file `st` describes, from /proc/locks; 0 when none shows.
pid_t FlockHolder(const struct stat& st) {
  char want[64];
  std::snprintf(want, sizeof want, "%02x:%02x:%lu", major(st.st_dev), minor(st.st_dev),
                static_cast<unsigned long>(st.st_ino));
  std::ifstream in("/proc/locks");
  std::string line;
  for (std::size_t lines = 0; lines < kMaxLockLines && std::getline(in, line); ++lines) {
    std::istringstream words(line);
    std::string id, kind, advisory, access, pid, file;
    words >> id >> kind;
    if (kind != "FLOCK") continue;  // also skips the "->" lines of waiters
    words >> advisory >> access >> pid >> file;
    if (file != want) continue;
    const long p = std::strtol(pid.c_str(), nullptr, 10);
    if (p > 0) return static_cast<pid_t>(p);
  }
  return 0;
}

// The process id a UUCP lock file names: ten ASCII digits, or an old binary int; 0 when neither.
pid_t LockFilePid(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return 0;
  char text[64] = {};
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n == static_cast<ssize_t>(sizeof(int))) {
    int binary = 0;
    std::memcpy(&binary, text, sizeof binary);
    return binary > 0 ? binary : 0;
  }
  const long pid = std::strtol(text, nullptr, 10);
  return pid > 0 && pid < INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

}  // namespace

std::string SerialLock::LockFileName(const std::string& device) {
  std::string name = RealPath(device);
  if (name.rfind("/dev/", 0) == 0) name.erase(0, 5);
  else name.erase(0, name.rfind('/') + 1);
  for (char& c : name)
    if (c == '/') c = '_';
  return "LCK.." + name;
}

std::string SerialLock::DescribeProcess(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  if (std::getline(in, name) && !name.empty() && name.size() < 64)
    return name + " (pid " + std::to_string(pid) + ")";
  return "process " + std::to_string(pid);
}

std::string SerialLock::ProcessesUsing(const std::string& device) {
  const std::string real = RealPath(device);
  std::string holders;
  std::size_t found = 0;
  DIR* proc = ::opendir("/proc");
  if (!proc) return holders;
  int seen = 0;
  while (const dirent* p = ::readdir(proc)) {
    if (++seen > kMaxProcesses || found >= kMaxHolders) break;
    if (!IsNumber(p->d_name) || std::atoi(p->d_name) == ::getpid()) continue;
    const std::string fdDir = std::string("/proc/") + p->d_name + "/fd";
    DIR* fds = ::opendir(fdDir.c_str());  // fails for other users' processes: not visible
    if (!fds) continue;
    int count = 0;
    bool uses = false;
    while (const dirent* f = ::readdir(fds)) {
      if (++count > kMaxFdsPerProcess || uses) break;
      char target[PATH_MAX];
      const ssize_t n = ::readlink((fdDir + "/" + f->d_name).c_str(), target, sizeof target - 1);
      uses = n > 0 && real == std::string(target, static_cast<std::size_t>(n));
    }
    ::closedir(fds);
    if (uses) {
      holders += (found++ ? ", " : "") + DescribeProcess(std::atoi(p->d_name));
    }
  }
  ::closedir(proc);
  return holders;
}

std::string SerialLock::Holder(const std::string& device) {
  struct stat st{};
  if (::stat(device.c_str(), &st) == 0)
    if (const pid_t holder = FlockHolder(st); holder > 0 && holder != ::getpid()) return DescribeProcess(holder);
  const std::string file = std::string(kLockFolder) + "/" + LockFileName(device);
  const pid_t owner = LockFilePid(file);
  if (owner > 0 && owner != ::getpid() && Alive(owner)) return DescribeProcess(owner) + " (lock file " + file + ")";
  return {};
}

bool SerialLock::Acquire(int fd, const std::string& device, std::string& why) {
  Release();
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    struct stat st{};
    const pid_t holder = (errno == EWOULDBLOCK && ::fstat(fd, &st) == 0) ? FlockHolder(st) : 0;
    why = "in use by " + (holder > 0 ? DescribeProcess(holder) : std::string("another program"));
    return false;
  }
  const std::string file = std::string(kLockFolder) + "/" + LockFileName(device);
  static unsigned counter = 0;
  const std::string temporary =
      std::string(kLockFolder) + "/LTMP." + std::to_string(::getpid()) + "." + std::to_string(++counter);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (out < 0) return true;  // no lock folder of ours to write: the flock alone holds the device
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
    const bool written = ::write(out, text, static_cast<std::size_t>(length)) == length;
    ::close(out);
    const int linked = written ? ::link(temporary.c_str(), file.c_str()) : -1;
    const int error = errno;
    ::unlink(temporary.c_str());
    if (linked == 0) {
      m_lockFile = file;
      return true;
    }
    if (!written || error != EEXIST) return true;
    const pid_t owner = LockFilePid(file);
    if (owner > 0 && owner != ::getpid() && Alive(owner)) {
      ::flock(fd, LOCK_UN);
      why = "in use by " + DescribeProcess(owner) + " (lock file " + file + ")";
      return false;
    }
    // A lock file left by a process that is gone: take it over.
    if (::unlink(file.c_str()) != 0) return true;
  }
  return true;
}

void SerialLock::Release() {
  if (!m_lockFile.empty() && LockFilePid(m_lockFile) == ::getpid()) ::unlink(m_lockFile.c_str());
  m_lockFile.clear();
}

}  // namespace corvane
