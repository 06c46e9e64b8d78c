#pragma once
// The simulator's serial line: the master side of a pseudo-terminal, its slave held open so the
// line never hangs up, linked and registered as a COM port on request.
// Paced, it behaves as a line of that speed: a request counts as received once its last character
// would have arrived, and replies leave one character time apart.
// It can hand a byte over as a UART with input checking does after a parity error: the client's
// terminal, set to mark errors (PARMRK), then reads FF 00 <byte>. A pseudo-terminal carries no
// parity, so the mark is written as it would be read, with the slave's marking switched off until
// the client has read it.
#include <termios.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/devsim/UniqueFd.h"

namespace corvane::devsim {

class PtyLine {
 public:
  using Clock = std::chrono::steady_clock;
  using Bytes = std::vector<std::uint8_t>;

  PtyLine() = default;
  ~PtyLine() { Cleanup(); }
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // Opens the pair and hands the master over; links and registers the slave when asked.
  bool Open(const std::string& linkPath, int comPort, UniqueFd& master, std::string& error);
  // Removes the link and the COM entry while they still name this pty.
  void Cleanup();
  const std::string& Path() const { return m_path; }

  void SetPace(int baud, int bitsPerChar);
  bool Paced() const { return m_char.count() > 0; }
  // n bytes read at `now`: when the last of them has arrived on a line of this pace.
  Clock::time_point Received(std::size_t n, Clock::time_point now);
  // A reply of n bytes due at `due`: when its first byte has crossed the line (the others follow
  // one character time apart), once the request has crossed it and after whatever is still
  // being sent.
  Clock::time_point Transmit(std::size_t n, Clock::time_point due);
  Clock::duration CharTime() const { return m_char; }

  // The bytes to write for `data`, data[markAt] received with a parity error (-1: none).
  Bytes ForWrite(const Bytes& data, int markAt);
  bool Unmarked() const { return m_unmarked; }
  // Gives the client its marking back once it has read what was written unmarked.
  void Tick(Clock::time_point now);
  std::optional<Clock::time_point> NextTick(Clock::time_point now) const;

 private:
  UniqueFd m_slave;
  std::string m_path, m_linkPath;
  int m_comPort = 0;
  bool m_linkMade = false, m_comRegistered = false;
  Clock::duration m_char{};
  Clock::time_point m_rxFree{}, m_txFree{};
  bool m_unmarked = false;
  Clock::time_point m_unmarkedAt{};
};

}  // namespace corvane::devsim
