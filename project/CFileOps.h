#pragma once
// The POSIX calls an atomic save makes, behind one seam so tests can fail any step.
#include <sys/types.h>

#include <functional>

namespace corvane {

struct CFileOps {
  std::function<int(const char* path, int flags, mode_t mode)> open;
  std::function<ssize_t(int fd, const void* data, size_t size)> write;
  std::function<int(int fd)> fsync;
  std::function<int(int fd)> close;
  std::function<int(const char* from, const char* to)> rename;
  std::function<int(const char* path)> unlink;

  static const CFileOps& System();
};

}  // namespace corvane
