// The simulator's serial line as a wire would behave: paced at a line speed, and a byte handed
// over as a UART with input checking hands over a parity error.
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "DevsimFixture.h"

using namespace devsim_test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

class DevsimLineTest : public DevsimFixture {
 protected:
  bool Run(std::vector<std::string> args) {
    args.insert(args.end(), {"--no-tcp", "--no-udp", "--mode", "rtu"});
    if (!m_sim.Start(args, m_home)) return false;
    m_fd = OpenPty(m_sim.Field("pty"));
    return m_fd >= 0;
  }
  // The client's terminal set as PortLink sets it: parity and framing errors marked.
  void MarkErrors(bool on) {
    termios t{};
    ASSERT_EQ(tcgetattr(m_fd, &t), 0);
    if (on) t.c_iflag |= INPCK | PARMRK;
    else t.c_iflag &= ~(INPCK | PARMRK);
    ASSERT_EQ(tcsetattr(m_fd, TCSANOW, &t), 0);
  }
};

const Bytes kReadOne = Rtu({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});

TEST_F(DevsimLineTest, PacedLineTakesTheWireTimeBothWays) {
  // 9600 baud 8N1: a character is 1.04 ms; 8 request and 21 reply characters are 30.2 ms.
  ASSERT_TRUE(Run({"--pace", "9600", "--device", "code=0x0015 station=1"}));
  const Bytes request = Rtu({0x01, 0x03, 0x00, 0x10, 0x00, 0x08});
  const auto start = Clock::now();
  ASSERT_TRUE(SendAll(m_fd, request));
  std::vector<Clock::duration> arrivals;
  Bytes reply;
  while (reply.size() < 21) {
    const Bytes part = ReadFor(m_fd, 1, 500ms);
    if (part.empty()) break;
    reply.insert(reply.end(), part.begin(), part.end());
    arrivals.push_back(Clock::now() - start);
  }
  ASSERT_EQ(reply.size(), 21u);
  EXPECT_GE(arrivals.back(), 30ms);
  EXPECT_LT(arrivals.back(), 60ms);
  EXPECT_GE(arrivals.front(), 9ms) << "the reply starts once the request has crossed the line";
  EXPECT_GE(arrivals.size(), 10u) << "the characters come one by one, not as one block";
}

TEST_F(DevsimLineTest, ParityErrorIsHandedOverAsTheTerminalMarksIt) {
  ASSERT_TRUE(Run({"--fault", "parity:3,count:1", "--device", "code=0x0015 station=1 reg=0x0000:0xFF12"}));
  MarkErrors(true);
  ASSERT_TRUE(SendAll(m_fd, kReadOne));
  Bytes frame = Rtu({0x01, 0x03, 0x02, 0xFF, 0x12});  // byte 3 (FF) arrives with a parity error
  Bytes marked{frame[0], frame[1], frame[2], 0xFF, 0x00, 0xFF, frame[4]};
  for (std::size_t i = 5; i < frame.size(); ++i) {
    if (frame[i] == 0xFF) marked.push_back(0xFF);
    marked.push_back(frame[i]);
  }
  EXPECT_EQ(Hex(ReadFor(m_fd, marked.size(), 2s)), Hex(marked));
  // The next reply has no fault; its data FF comes doubled, as the terminal does by itself.
  std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(SendAll(m_fd, kReadOne));
  Bytes doubled{frame[0], frame[1], frame[2], 0xFF, 0xFF, frame[4]};
  for (std::size_t i = 5; i < frame.size(); ++i) {
    if (frame[i] == 0xFF) doubled.push_back(0xFF);
    doubled.push_back(frame[i]);
  }
  EXPECT_EQ(Hex(ReadFor(m_fd, doubled.size(), 2s)), Hex(doubled));
}

TEST_F(DevsimLineTest, ParityErrorPassesUncheckedWithoutInputChecking) {
  ASSERT_TRUE(Run({"--fault", "parity:3", "--device", "code=0x0015 station=1 reg=0x0000:0x1234"}));
  MarkErrors(false);
  ASSERT_TRUE(SendAll(m_fd, kReadOne));
  EXPECT_EQ(Hex(ReadFor(m_fd, 7, 2s)), Hex(Rtu({0x01, 0x03, 0x02, 0x12, 0x34})));
}

class DevsimLineOptionTest : public DevsimLineTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(DevsimLineOptionTest, RefusedWithStatus2) {
  EXPECT_FALSE(m_sim.Start(GetParam(), m_home));
  EXPECT_EQ(m_sim.WaitExit(5s), 2);
}

INSTANTIATE_TEST_SUITE_P(Rows, DevsimLineOptionTest,
                         ::testing::Values(std::vector<std::string>{"--pace", "0"},
                                           std::vector<std::string>{"--pace", "9600:9X1"},
                                           std::vector<std::string>{"--pace", "9600:8E"},
                                           std::vector<std::string>{"--fault", "parity:x"}));

}  // namespace
