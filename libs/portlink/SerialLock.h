#pragma once
// Exclusive use of a serial device through the advisory locks other serial tools honour: flock
// on the open device (pyserial's exclusive mode, picocom, ...) and the UUCP lock file
// /var/lock/LCK..<name> holding the owner's process id (minicom, cu, lockdev). Both vanish with
// their holder: the kernel drops the flock, and a lock file of a dead process is taken over.
#include <sys/types.h>

#include <string>

namespace corvane {

class SerialLock {
 public:
  static constexpr const char* kLockFolder = "/var/lock";

  SerialLock() = default;
  ~SerialLock() { Release(); }
  SerialLock(const SerialLock&) = delete;
  SerialLock& operator=(const SerialLock&) = delete;

  // Locks the device open as fd, whose path is `device`. False when another program holds it;
  // `why` then says which one where the system tells ("minicom (pid 812)").
  bool Acquire(int fd, const std::string& device, std::string& why);
  // Removes the lock file; the flock goes with the descriptor.
  void Release();

  // "LCK..ttyUSB0" for /dev/ttyUSB0, "LCK..pts_5" for /dev/pts/5 (symbolic links resolved).
  static std::string LockFileName(const std::string& device);
  // "name (pid N)" from /proc, or "process N" when its name cannot be read.
  static std::string DescribeProcess(pid_t pid);
  // The processes of this user that have `device` open, described, "" when none is visible.
  static std::string ProcessesUsing(const std::string& device);
  // Who holds `device` the way Acquire would be refused, without opening it: the holder of a
  // flock on it, else the live owner of its lock file; "" when nobody does.
  static std::string Holder(const std::string& device);

 private:
  std::string m_lockFile;  // the lock file this object made, empty when none
};

}  // namespace corvane
