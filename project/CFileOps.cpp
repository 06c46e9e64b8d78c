#include "project/CFileOps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace corvane {

const CFileOps& CFileOps::System() {
  static const CFileOps ops{
      [](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
      [](int fd, const void* data, size_t size) { return ::write(fd, data, size); },
      [](int fd) { return ::fsync(fd); },
      [](int fd) { return ::close(fd); },
      [](const char* from, const char* to) { return std::rename(from, to); },
      [](const char* path) { return ::unlink(path); },
  };
  return ops;
}

}  // namespace corvane
