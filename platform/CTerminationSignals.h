#pragma once
// SIGTERM, SIGINT and SIGHUP turned into readable bytes on a pipe, so that the event loop,
// not the signal handler, ends the program: the normal shutdown then runs (documents offered
// for saving, the one-run language restored, settings written). One object at a time; the
// previous handlers come back when it goes.
#include <csignal>

namespace corvane::platform {

class CTerminationSignals {
public:
  CTerminationSignals();
  ~CTerminationSignals();
  CTerminationSignals(const CTerminationSignals&) = delete;
  CTerminationSignals& operator=(const CTerminationSignals&) = delete;

  // False when the pipe or a handler could not be set up (the signals then keep their defaults).
  bool IsActive() const { return m_readFd >= 0; }
  // Watch it for reading.
  int ReadFd() const { return m_readFd; }
  // The next signal that arrived, or 0 when none is waiting.
  int TakeSignal() const;

private:
  void Release();

  int m_readFd = -1;
  int m_writeFd = -1;
  struct sigaction m_previous[3] = {};
  bool m_installed[3] = {};
};

}  // namespace corvane::platform
