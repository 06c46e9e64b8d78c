#pragma once
// One open serial device: locked for this program (SerialLock), configured raw through termios
// with input checking (parity and framing errors marked, PARMRK), optionally in the kernel's
// RS-485 mode. Closing restores the RS-485 mode it found and drops the locks.
#include <linux/serial.h>

#include <string>

#include "libs/portlink/SerialLock.h"
#include "libs/portlink/UniqueFd.h"

namespace corvane {

struct Rs485Settings {
  bool enabled = false;  // RTS raised while sending
  int delayBeforeMs = 0; // RTS raised this long before the first bit
  int delayAfterMs = 0;  // and held this long after the last one
};

struct SerialSettings {
  int baud = 9600;
  int dataBits = 8;  // 5..8
  int parity = 0;    // 0 none, 1 odd, 2 even
  int stopBits = 1;  // 1 or 2
  Rs485Settings rs485;
};

class SerialLine {
 public:
  SerialLine() = default;
  ~SerialLine() { Close(); }
  SerialLine(const SerialLine&) = delete;
  SerialLine& operator=(const SerialLine&) = delete;

  // Whether this user may open `path` now, without opening it: "" when so, else why not in the
  // words of Open (no such device, permissions and the group to join, the program holding it).
  static std::string Availability(const std::string& path);
  // Opens, locks and configures `path`. Returns "" when the line is ready, else why not, in words
  // for a log line ("/dev/ttyUSB0 is in use by minicom (pid 812)").
  std::string Open(const std::string& path, const SerialSettings& settings);
  void Close();
  bool IsOpen() const { return m_fd.Valid(); }
  int Fd() const { return m_fd.Get(); }
  const SerialSettings& Settings() const { return m_settings; }
  // Microseconds one character takes on the line (start + data + parity + stop bits).
  long CharTimeUs() const;
  // The silence of `tenths` tenths of a character; Modbus fixes 3.5 characters at 1750 us above 19200 baud.
  long SilenceUs(int tenths) const;
  // Drops bytes received but not yet read; true when some were waiting.
  bool FlushInput() const;
  // A pseudo-terminal: no wire, so nothing to wait for once written.
  bool Pseudo() const { return m_pseudo; }

 private:
  std::string Configure(const std::string& path, const SerialSettings& s);
  std::string EnableRs485(const std::string& path, const Rs485Settings& r);

  UniqueFd m_fd;
  SerialLock m_lock;
  SerialSettings m_settings;
  bool m_restoreRs485 = false;
  bool m_pseudo = false;
  serial_rs485 m_previousRs485{};
};

}  // namespace corvane
