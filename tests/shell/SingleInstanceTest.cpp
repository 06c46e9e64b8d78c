#include "platform/CSingleInstance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace corvane::platform {
namespace {

namespace fs = std::filesystem;

class SingleInstanceTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("cvn-single-" + std::to_string(::getpid()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // A first copy in its own process; reports on the pipe once it holds the lock.
  pid_t StartFirst(int readyFd, bool waitForActivation) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      CSingleInstance first("Corvane", m_dir.string());
      if (!first.Acquire()) ::_exit(3);
      char ok = 1;
      (void)!::write(readyFd, &ok, 1);
      if (!waitForActivation) for (;;) ::pause();
      pollfd p{first.ListenFd(), POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) ::_exit(4);
      ::_exit(first.AcceptActivation() ? 0 : 5);
    }
    return pid;
  }
  fs::path m_dir;
};

TEST_F(SingleInstanceTest, SecondCopyActivatesTheFirstAndStops) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t first = StartFirst(fds[1], true);
  char ready = 0;
  ASSERT_EQ(::read(fds[0], &ready, 1), 1);

  CSingleInstance second("Corvane", m_dir.string());
  EXPECT_FALSE(second.Acquire());
  EXPECT_TRUE(second.ActivateFirst());

  int status = 0;
  ASSERT_EQ(::waitpid(first, &status, 0), first);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the first copy did not receive the activation";
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST_F(SingleInstanceTest, KilledFirstCopyLeavesNoStaleLock) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t first = StartFirst(fds[1], false);
  char ready = 0;
  ASSERT_EQ(::read(fds[0], &ready, 1), 1);
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  EXPECT_TRUE(fs::exists(m_dir / "Corvane.lock"));

  CSingleInstance next("Corvane", m_dir.string());
  EXPECT_TRUE(next.Acquire());
  EXPECT_GE(next.ListenFd(), 0);
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST_F(SingleInstanceTest, NoFirstCopyMeansNothingToActivate) {
  CSingleInstance lone("Corvane", m_dir.string());
  EXPECT_FALSE(lone.ActivateFirst());
}

TEST_F(SingleInstanceTest, FolderOthersMayWriteToIsNotUsed) {
  fs::permissions(m_dir, fs::perms::all);
  CSingleInstance first("Corvane", m_dir.string());
  EXPECT_TRUE(first.Acquire());  // runs, unguarded
  EXPECT_EQ(first.ListenFd(), -1);
  EXPECT_FALSE(fs::exists(m_dir / "Corvane.lock"));
  EXPECT_FALSE(CSingleInstance("Corvane", m_dir.string()).ActivateFirst());

  // Such a runtime folder gives way to the user's own folder in /tmp.
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = old ? old : "";
  ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
  const CSingleInstance fallback("Corvane");
  if (old) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1); else ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(fallback.LockPath(), "/tmp/corvane-" + std::to_string(::getuid()) + "/Corvane.lock");
}

}  // namespace
}  // namespace corvane::platform
