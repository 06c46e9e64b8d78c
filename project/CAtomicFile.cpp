#include "project/CAtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cerrno>
#include <system_error>

namespace corvane {
namespace {

std::string ErrnoText(int err) { return std::error_code(err, std::generic_category()).message(); }

CProjectResult SaveFail(const std::string& path, const char* step, int err, std::size_t offset = 0) {
  return CProjectResult::Fail(ProjectStatus::FileError, offset,
                              "Cannot save \"" + path + "\": " + step + ": " + ErrnoText(err));
}

// The temporary sits in the target's folder so the rename stays on one file system.
std::string TempPathFor(const std::string& path, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  return dir + "." + base + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(attempt);
}

void SyncFolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // durability of the rename only; the data itself is already synced
  ::close(fd);
}

}  // namespace

CProjectResult CAtomicFile::Write(const std::string& target, std::span<const std::uint8_t> content,
                                  const CFileOps& ops) {
  if (target.empty()) return SaveFail(target, "no file name", ENOENT);
  // Saving through a symbolic link replaces the file it points to, not the link.
  std::string path = target;
  struct stat lst {};
  if (::lstat(target.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(target.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  std::string temp;
  int fd = -1;
  int openErr = EEXIST;
  for (unsigned attempt = 0; attempt < 100 && fd < 0 && openErr == EEXIST; ++attempt) {
    temp = TempPathFor(path, attempt);
    fd = ops.open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    openErr = fd < 0 ? errno : 0;
  }
  if (fd < 0) return SaveFail(target, "cannot create a temporary file beside it", openErr);

  auto abandon = [&](const char* step, int err, std::size_t offset = 0) {
    if (fd >= 0) ops.close(fd);
    ops.unlink(temp.c_str());
    return SaveFail(target, step, err, offset);
  };

  // Keep the permissions of the file being replaced.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);

  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ops.write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return abandon("write failed", errno, done);
    }
    if (n == 0) return abandon("write failed", EIO, done);
    done += static_cast<std::size_t>(n);
  }
  if (ops.fsync(fd) != 0) return abandon("sync failed", errno, done);
  const int closed = ops.close(fd);
  fd = -1;
  if (closed != 0) return abandon("close failed", errno, done);
  if (ops.rename(temp.c_str(), path.c_str()) != 0) return abandon("cannot replace the file", errno, done);
  SyncFolderOf(path);
  return {};
}

}  // namespace corvane
