#pragma once
// One open serial device configured through termios (raw, non-blocking, exclusive).
#include <string>

#include "libs/portlink/UniqueFd.h"

namespace corvane {

struct SerialSettings {
  int baud = 9600;
  int dataBits = 8;  // 5..8
  int parity = 0;    // 0 none, 1 odd, 2 even
  int stopBits = 1;  // 1 or 2
};

class SerialLine {
 public:
  // Opens and configures `path`; a path that is not a terminal, an unknown speed or a bad
  // format fails. Returns 0 or a negative errno value.
  int Open(const std::string& path, const SerialSettings& settings);
  void Close() { m_fd.Reset(); }
  bool IsOpen() const { return m_fd.Valid(); }
  int Fd() const { return m_fd.Get(); }
  const SerialSettings& Settings() const { return m_settings; }
  // Microseconds one character takes on the line (start + data + parity + stop bits).
  long CharTimeUs() const;
  // Drops bytes received but not yet read (stale replies before a new request).
  void FlushInput() const;

 private:
  UniqueFd m_fd;
  SerialSettings m_settings;
};

}  // namespace corvane
