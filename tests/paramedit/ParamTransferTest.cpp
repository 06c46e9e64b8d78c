// Reading and writing a parameter set over a real link: corvane-devsim on a pty, Modbus RTU.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "DevsimProcess.h"
#include "libs/portlink/CPortLink.h"
#include "modules/paramedit/CParamTransfer.h"

namespace corvane::paramedit {
namespace {

namespace fs = std::filesystem;

class ParamTransfer : public ::testing::Test {
protected:
  void SetUp() override {
    m_home = fs::temp_directory_path() / ("cvn-ptx-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_home);
  }
  void TearDown() override {
    if (m_sim) m_sim->Stop();
    fs::remove_all(m_home);
  }

  void Start(const std::string& device, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args{"--no-tcp", "--no-udp", "--mode", "rtu", "--device", device};
    args.insert(args.end(), extra.begin(), extra.end());
    if (m_sim) m_sim->Stop();
    m_sim = std::make_unique<DevsimProcess>();
    ASSERT_TRUE(m_sim->Start(args, m_home.string())) << m_sim->ReadyLine();
    m_link.SetPortResolver([pty = m_sim->Field("pty")](int) { return pty; });
    m_link.SetModbusMode(2);
    m_link.SetStationAddr(1);
    ASSERT_EQ(m_link.OpenSerial(1, 19200, 8, 0, 1), 1);
  }

  // The simulator's register, read without the code under test.
  int Register(unsigned address) {
    const unsigned char request[4] = {static_cast<unsigned char>(address >> 8), static_cast<unsigned char>(address), 0, 1};
    unsigned char reply[CPortLink::kBufferSize];
    if (m_link.Request(0, 1, 0, 3, request, 4) <= 0 || m_link.Response(0, 1, nullptr, nullptr, reply) != 2) return -1;
    return reply[0] << 8 | reply[1];
  }

  static std::vector<ParamSpec> Specs() {
    return {{0x0013, "Device code", "", 0, 65535, true},
            {0x2000, "Maximum frequency", "0.01 Hz", 0, 60000, false},
            {0x2001, "Offset", "0.01 Hz", -5000, 5000, false},
            {0x2002, "Deceleration", "0.1 s", 0, 36000, false},
            {0x3000, "Gain", "", 1, 2000, false}};
  }

  fs::path m_home;
  std::unique_ptr<DevsimProcess> m_sim;
  CPortLink m_link;
};

TEST_F(ParamTransfer, ReadsEveryParameterInRunsOfAdjacentRegisters) {
  Start("code=0x0015 station=1 reg=0x2000:5000,0x2001:0xFFF6,0x2002:30,0x3000:7");
  CParamSet set(Specs());
  const TransferReport report = CParamTransfer(m_link, 0, 1).ReadAll(set);
  EXPECT_TRUE(report.Ok()) << report.errors.front();
  EXPECT_EQ(report.registers, 5);
  EXPECT_EQ(set.Value(0), 0x0015);
  EXPECT_EQ(set.Value(1), 5000);
  EXPECT_EQ(set.Value(2), -10);
  EXPECT_EQ(set.Value(3), 30);
  EXPECT_EQ(set.Value(4), 7);
  EXPECT_EQ(set.PendingCount(), 0);
}

TEST_F(ParamTransfer, WritesPendingValuesWithFunctionSixAndSixteen) {
  Start("code=0x0015 station=1 reg=0x2000:5000,0x2001:0,0x2002:30,0x3000:7");
  CParamSet set(Specs());
  CParamTransfer transfer(m_link, 0, 1);
  ASSERT_TRUE(transfer.ReadAll(set).Ok());
  ASSERT_EQ(set.Edit(1, 6000), EditResult::Ok);  // 0x2000 and 0x2001: one run, function 16
  ASSERT_EQ(set.Edit(2, -1234), EditResult::Ok);
  ASSERT_EQ(set.Edit(4, 99), EditResult::Ok);    // alone: function 6
  const TransferReport report = transfer.WritePending(set);
  EXPECT_TRUE(report.Ok()) << report.errors.front();
  EXPECT_EQ(report.registers, 3);
  EXPECT_EQ(set.PendingCount(), 0);
  EXPECT_EQ(Register(0x2000), 6000);
  EXPECT_EQ(Register(0x2001), 0x10000 - 1234);
  EXPECT_EQ(Register(0x2002), 30);  // not edited, not written
  EXPECT_EQ(Register(0x3000), 99);
}

TEST_F(ParamTransfer, FailuresAreReportedPerRunAndLeaveValuesPending) {
  struct Row {
    const char* fault;
    const char* readError;
  } rows[] = {
      {"exception:2", "reading 0x0013 failed: exception reply 02 (illegal data address)"},
      {"exception:6", "reading 0x0013 failed: exception reply 06 (server device busy)"},
      {"noreply", "reading 0x0013 failed: no answer (time-out)"},
      {"badcrc", "reading 0x0013 failed: checksum error"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fault);
    Start(std::string("code=0x0015 station=1 fault=") + row.fault);
    m_link.SetResponseTimeout(200);
    CParamSet set(Specs());
    CParamTransfer transfer(m_link, 0, 1);
    const TransferReport read = transfer.ReadAll(set);
    ASSERT_EQ(read.errors.size(), 3u);  // 0x0013, 0x2000..0x2002, 0x3000
    EXPECT_EQ(read.errors[0], row.readError);
    EXPECT_FALSE(set.Value(1).has_value());
    ASSERT_EQ(set.Edit(4, 5), EditResult::Ok);
    const TransferReport write = transfer.WritePending(set);
    ASSERT_EQ(write.errors.size(), 1u);
    EXPECT_EQ(write.errors[0].rfind("writing 0x3000 failed: ", 0), 0u) << write.errors[0];
    EXPECT_TRUE(set.Pending(4));
    m_link.CloseSerial(1);
  }
}

}  // namespace
}  // namespace corvane::paramedit
