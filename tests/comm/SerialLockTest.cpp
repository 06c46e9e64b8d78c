// Exclusive use of a serial port that other serial tools honour, for every user: flock (pyserial's
// exclusive mode) and UUCP lock files both ways, and a refusal that names the holder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

#include "libs/portlink/CPortLink.h"
#include "libs/portlink/SerialLock.h"
#include "tests/comm/PeerHelpers.h"

using namespace commtest;

namespace {

// pyserial opening the port with exclusive=True (flock), holding it until its input closes.
const char* kPySerialHolder =
    "import serial, sys\n"
    "try:\n"
    "    s = serial.Serial(sys.argv[1], exclusive=True)\n"
    "except Exception:\n"
    "    print('busy', flush=True)\n"
    "    sys.exit(3)\n"
    "print('held', flush=True)\n"
    "sys.stdin.read()\n";

// Another program with a pipe to its input and one from its output.
class Tool {
 public:
  ~Tool() { Stop(); }
  bool Start(std::vector<std::string> argv) {
    int in[2], out[2], exec[2];  // exec: closed by the exec, so its end of file says the program runs
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(exec, O_CLOEXEC) != 0) return false;
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      std::vector<char*> args;
      for (auto& a : argv) args.push_back(a.data());
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(exec[1]);
    char c;
    while (::read(exec[0], &c, 1) > 0) {
    }
    ::close(exec[0]);
    m_in.Reset(in[1]);
    m_out.Reset(out[0]);
    return m_pid > 0;
  }
  std::string Line() {
    std::string line;
    char c;
    pollfd p{m_out.Get(), POLLIN, 0};
    while (::poll(&p, 1, 10000) > 0 && ::read(m_out.Get(), &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  pid_t Pid() const { return m_pid; }
  void Stop() {
    m_in.Reset();
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      ::waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
  }

 private:
  pid_t m_pid = -1;
  corvane::UniqueFd m_in, m_out;
};

bool HasPySerial() {
  return std::system("/usr/bin/python3 -c 'import serial' >/dev/null 2>&1") == 0;
}

class LockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.Open());
    link.SetPortResolver([this](int) { return peer.slavePath; });
    lockFile = std::string(corvane::SerialLock::kLockFolder) + "/" + corvane::SerialLock::LockFileName(peer.slavePath);
  }
  void TearDown() override { ::unlink(lockFile.c_str()); }
  bool LockFolderWritable() const { return ::access(corvane::SerialLock::kLockFolder, W_OK) == 0; }
  void WriteLockFile(pid_t pid) {
    std::ofstream(lockFile) << std::string(10 - std::to_string(pid).size(), ' ') << pid << "\n";
  }
  PtyPeer peer;
  CPortLink link;
  std::string lockFile;
};

TEST_F(LockTest, PortHeldByAnotherToolIsRefusedNamingIt) {
  if (!HasPySerial()) GTEST_SKIP() << "python3 with pyserial not available";
  Tool holder;
  ASSERT_TRUE(holder.Start({"/usr/bin/python3", "-c", kPySerialHolder, peer.slavePath}));
  ASSERT_EQ(holder.Line(), "held");
  EXPECT_LT(link.OpenSerial(1, 9600, 8, 0, 1), 0);
  const std::string why = link.LastErrorText();
  EXPECT_NE(why.find("in use by python"), std::string::npos) << why;
  EXPECT_NE(why.find("(pid " + std::to_string(holder.Pid()) + ")"), std::string::npos) << why;
  holder.Stop();
  EXPECT_EQ(link.OpenSerial(1, 9600, 8, 0, 1), 1) << "free again once the holder is gone";
}

TEST_F(LockTest, OtherToolsSeeThePortHeld) {
  if (!HasPySerial()) GTEST_SKIP() << "python3 with pyserial not available";
  ASSERT_EQ(link.OpenSerial(1, 9600, 8, 0, 1), 1);
  Tool other;
  ASSERT_TRUE(other.Start({"/usr/bin/python3", "-c", kPySerialHolder, peer.slavePath}));
  EXPECT_EQ(other.Line(), "busy");
  if (LockFolderWritable()) {
    std::ifstream in(lockFile);
    long pid = 0;
    EXPECT_TRUE(in >> pid) << "no lock file " << lockFile;
    EXPECT_EQ(pid, ::getpid());
  }
  link.CloseSerial(1);
  EXPECT_NE(::access(lockFile.c_str(), F_OK), 0) << "the lock file goes with the port";
}

TEST_F(LockTest, UucpLockFiles) {
  if (!LockFolderWritable()) GTEST_SKIP() << corvane::SerialLock::kLockFolder << " is not writable here";
  Tool sleeper;
  ASSERT_TRUE(sleeper.Start({"/bin/sleep", "30"}));
  WriteLockFile(sleeper.Pid());
  EXPECT_LT(link.OpenSerial(1, 9600, 8, 0, 1), 0);
  const std::string why = link.LastErrorText();
  EXPECT_NE(why.find("sleep (pid " + std::to_string(sleeper.Pid()) + ")"), std::string::npos) << why;
  EXPECT_NE(why.find(lockFile), std::string::npos) << why;
  sleeper.Stop();
  // The holder is gone: its lock file is stale and taken over.
  EXPECT_EQ(link.OpenSerial(1, 9600, 8, 0, 1), 1) << link.LastErrorText();
  std::ifstream in(lockFile);
  long pid = 0;
  EXPECT_TRUE(in >> pid);
  EXPECT_EQ(pid, ::getpid());
}

}  // namespace
