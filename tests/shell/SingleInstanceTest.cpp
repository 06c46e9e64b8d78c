#include "platform/CSingleInstance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
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
      ::_exit(first.AcceptRequest() ? 0 : 5);
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

// A second start handed a project passes its path on; the first copy gets it whole.
TEST_F(SingleInstanceTest, ProjectPathReachesTheFirstCopyWhole) {
  CSingleInstance first("Corvane", m_dir.string());
  ASSERT_TRUE(first.Acquire());
  CSingleInstance second("Corvane", m_dir.string());
  ASSERT_FALSE(second.Acquire());
  const std::string longest = "/" + std::string(CSingleInstance::kMaxPathLength - 1, 'p');
  for (const std::string& path : {std::string(), std::string("/home/ann/Plant A/line 2.cvn"),
                                  std::string("/tmp/\xe5\xb7\xa5\xe5\xa0\xb4\nsecond line.cvn"), longest}) {
    SCOPED_TRACE(path.substr(0, 40));
    ASSERT_TRUE(second.ActivateFirst(path));
    const auto request = first.AcceptRequest();
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->projectPath, path);
  }
  EXPECT_FALSE(second.ActivateFirst(longest + "x")) << "a path past the bound is not sent";
}

// Whatever else a peer sends on the socket, or a peer that keeps silent, asks for nothing.
TEST_F(SingleInstanceTest, MalformedRequestsAskForNothing) {
  CSingleInstance first("Corvane", m_dir.string());
  ASSERT_TRUE(first.Acquire());
  const std::string tooLong = "open\n/" + std::string(CSingleInstance::kMaxPathLength, 'p');
  const std::string withNul = std::string("open\n/a\0b.cvn", 13);
  for (const std::string& sent : {std::string(), std::string("hello\n"), std::string("open\n"), tooLong, withNul,
                                  std::string("activat")}) {
    SCOPED_TRACE(sent.substr(0, 20));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, first.SocketPath().c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    if (!sent.empty()) {
      ASSERT_EQ(::send(fd, sent.data(), sent.size(), MSG_NOSIGNAL), static_cast<ssize_t>(sent.size()));
    }
    ::shutdown(fd, SHUT_WR);
    EXPECT_FALSE(first.AcceptRequest().has_value());
    ::close(fd);
  }
  // A peer that connects and keeps silent is given up after a short wait.
  const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, first.SocketPath().c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(first.AcceptRequest().has_value());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  ::close(silent);
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
