#include "settings/CAtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace corvane {

namespace {

std::atomic<std::ptrdiff_t> g_failAfter{-1};
std::atomic<unsigned> g_tempCounter{0};

class Fd {
public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  bool Close() {
    if (m_fd < 0) return true;
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0;
  }

private:
  int m_fd;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view content) {
  std::size_t limit = content.size();
  const std::ptrdiff_t failAfter = g_failAfter.load();
  const bool faulty = failAfter >= 0;
  if (faulty && static_cast<std::size_t>(failAfter) < limit) limit = static_cast<std::size_t>(failAfter);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t n = ::write(fd, content.data() + done, limit - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return !faulty;
}

}  // namespace

void CAtomicFile::InjectFailureAfter(std::ptrdiff_t n) { g_failAfter.store(n < 0 ? -1 : n); }

bool CAtomicFile::Write(const std::string& requested, std::string_view content) {
  if (requested.empty()) return false;
  std::string path = requested;
  struct stat link {};
  if (::lstat(requested.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    // Replace the file the link points to, not the link itself.
    char* resolved = ::realpath(requested.c_str(), nullptr);
    if (resolved == nullptr) return false;
    path = resolved;
    std::free(resolved);
  }
  struct stat old {};
  const bool hadFile = ::stat(path.c_str(), &old) == 0;
  if (hadFile && !S_ISREG(old.st_mode)) return false;

  std::string temp;
  int raw = -1;
  for (int attempt = 0; attempt < 16 && raw < 0; ++attempt) {
    temp = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(g_tempCounter++);
    // 0666 lets the umask decide for a new file, as a plain create would.
    raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) return false;
  }
  if (raw < 0) return false;
  Fd fd(raw);

  bool ok = WriteAll(fd.Get(), content);
  if (ok && hadFile) ok = ::fchmod(fd.Get(), old.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd.Get()) == 0;
  if (!fd.Close()) ok = false;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; a failure here no longer risks the content.
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace corvane
