#include "platform/CTerminationSignals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

namespace corvane::platform {
namespace {

volatile sig_atomic_t g_previousRan = 0;
extern "C" void PreviousHandler(int) { g_previousRan = 1; }

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, 0) == 1;
}

TEST(TerminationSignalsTest, SignalsArriveOnThePipeInOrderAndThePreviousHandlersReturn) {
  struct sigaction previous = {}, saved = {};
  previous.sa_handler = PreviousHandler;
  sigemptyset(&previous.sa_mask);
  ASSERT_EQ(::sigaction(SIGTERM, &previous, &saved), 0);
  {
    CTerminationSignals signals;
    ASSERT_TRUE(signals.IsActive());
    EXPECT_FALSE(Readable(signals.ReadFd()));
    EXPECT_EQ(signals.TakeSignal(), 0);

    ::raise(SIGTERM);
    ::raise(SIGHUP);
    ::raise(SIGINT);
    EXPECT_TRUE(Readable(signals.ReadFd()));
    EXPECT_EQ(signals.TakeSignal(), SIGTERM);
    EXPECT_EQ(signals.TakeSignal(), SIGHUP);
    EXPECT_EQ(signals.TakeSignal(), SIGINT);
    EXPECT_EQ(signals.TakeSignal(), 0);
    EXPECT_EQ(g_previousRan, 0) << "the program's own handler took the signal";

    CTerminationSignals second;  // the signals have an owner already
    EXPECT_FALSE(second.IsActive());
    EXPECT_EQ(second.TakeSignal(), 0);
  }
  ::raise(SIGTERM);
  EXPECT_EQ(g_previousRan, 1) << "the handler from before is back";
  ::sigaction(SIGTERM, &saved, nullptr);

  CTerminationSignals again;  // free to be taken once more
  EXPECT_TRUE(again.IsActive());
}

}  // namespace
}  // namespace corvane::platform
