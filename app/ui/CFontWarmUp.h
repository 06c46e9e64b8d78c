#pragma once
// Fonts are a good part of the start-up, and the first window cannot be laid out without them.
// A thread of its own loads the system's font configuration while the application object is
// made, then, once it exists, Qt's font database, while the start-up reads its settings and
// loads its modules. Both initialise once and are safe from several threads, so the first text
// the window measures finds them ready.
#include <future>
#include <thread>

namespace corvane {

class CFontWarmUp {
public:
  CFontWarmUp();
  // Without ApplicationReady the thread ends without touching Qt.
  ~CFontWarmUp();
  CFontWarmUp(const CFontWarmUp&) = delete;
  CFontWarmUp& operator=(const CFontWarmUp&) = delete;

  // The application object exists: Qt's font database may be filled now.
  void ApplicationReady() { Release(true); }
  // Waits for the thread; call it while the application object still exists.
  void Join();

private:
  void Release(bool withQt);

  std::promise<bool> m_ready;
  bool m_bReleased = false;
  std::thread m_thread;
};

}  // namespace corvane
