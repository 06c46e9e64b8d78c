// Modbus TCP exchanges run at once against peers that misbehave in every way a device can.
#include "comm/CModbusTcpBatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "libs/portlink/ModbusFrame.h"
#include "tests/devsim/DevsimProcess.h"
#ifdef CORVANE_HAVE_LIBMODBUS
#include "tests/comm/InteropPeers.h"
#endif

namespace corvane {
namespace {

namespace fs = std::filesystem;
namespace mb = modbus;
using Clock = std::chrono::steady_clock;

constexpr int kPort = 15502;
const std::vector<std::uint8_t> kEightFrom156A = {0x15, 0x6A, 0x00, 0x08};

ModbusTcpQuery ReadSubModules(std::uint32_t address) { return {address, 1, 3, kEightFrom156A}; }

class ModbusTcpBatchTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_home = fs::temp_directory_path() / ("cvn-batch-" + std::to_string(::getpid()));
    fs::create_directories(m_home);
  }
  void TearDown() override { fs::remove_all(m_home); }
  fs::path m_home;
};

TEST_F(ModbusTcpBatchTest, EveryFaultEndsItsOwnExchangeAndAllRunAtOnce) {
  struct Row {
    const char* fault;  // corvane-devsim's fault of the device; null: nothing listens
    int result;
  };
  const Row rows[] = {
      {"", 16},  // eight registers
      {"bytewise:3", 16},
      {"late:300", 16},
      {"late:1500", mb::kTimeout},
      {"wrongtid", mb::kTransaction},
      {"wrongstation", mb::kStation},
      {"exception", mb::kException},
      {"noreply", mb::kTimeout},
      {"close", mb::kTruncated},
      {nullptr, mb::kIo},
  };
  std::vector<std::string> args{"--no-pty", "--no-udp", "--tcp-port", std::to_string(kPort)};
  std::vector<ModbusTcpQuery> queries;
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const std::string address = "127.0.5." + std::to_string(i + 1);
    if (rows[i].fault) {
      std::string spec = "code=0x0015 station=1 sub=0x4041,0x4042 ip=" + address;
      if (*rows[i].fault) spec += std::string(" fault=") + rows[i].fault;
      args.insert(args.end(), {"--device", spec});
    }
    queries.push_back(ReadSubModules(0x7F000500u + static_cast<std::uint32_t>(i + 1)));
  }
  DevsimProcess peers;
  ASSERT_TRUE(peers.Start(args, m_home.string())) << peers.ReadyLine();

  std::vector<std::size_t> progress;
  const auto start = Clock::now();
  const auto answers = CModbusTcpBatch::Run(kPort, {3000, 1000, 255}, queries,
                                            [&](std::size_t done, std::size_t total) {
                                              EXPECT_EQ(total, std::size(rows));
                                              progress.push_back(done);
                                            });
  const auto took = Clock::now() - start;
  ASSERT_EQ(answers.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const char* what = rows[i].fault ? rows[i].fault : "refused";
    EXPECT_EQ(answers[i].result, rows[i].result) << what;
    if (rows[i].result > 0) {
      ASSERT_EQ(answers[i].data.size(), 16u) << what;
      EXPECT_EQ(answers[i].data[0], 0x40) << what;
      EXPECT_EQ(answers[i].data[3], 0x42) << what;
    } else {
      EXPECT_TRUE(answers[i].data.empty()) << what;
    }
  }
  // One response time-out for all of them, not one after the other.
  EXPECT_LT(took, std::chrono::milliseconds(1000 + 400));
  EXPECT_EQ(progress.back(), std::size(rows));
}

TEST_F(ModbusTcpBatchTest, ConnectOnlyQueriesSayWhetherTheDeviceAccepts) {
  DevsimProcess peer;
  ASSERT_TRUE(peer.Start({"--no-pty", "--no-udp", "--tcp-port", std::to_string(kPort), "--device",
                          "code=0x0405 station=1 ip=127.0.5.31"},
                         m_home.string()));
  const std::vector<ModbusTcpQuery> queries = {{0x7F00051F, 0, 0, {}}, {0x7F000520, 0, 0, {}}};
  const auto answers = CModbusTcpBatch::Run(kPort, {}, queries);
  EXPECT_EQ(answers[0].result, 1);
  EXPECT_EQ(answers[1].result, mb::kIo);
}

TEST_F(ModbusTcpBatchTest, MoreThanTheInFlightLimitWaitForAFreePlace) {
  DevsimProcess peer;
  ASSERT_TRUE(peer.Start({"--no-pty", "--no-udp", "--tcp-port", std::to_string(kPort), "--device",
                          "code=0x0015 station=1 ip=127.0.5.41 sub=0x4041 fault=late:250"},
                         m_home.string()));
  const std::vector<ModbusTcpQuery> queries(6, ReadSubModules(0x7F000529));
  for (const std::size_t limit : {std::size_t{2}, std::size_t{6}}) {
    const auto start = Clock::now();
    const auto answers = CModbusTcpBatch::Run(kPort, {3000, 1000, limit}, queries);
    const auto took = Clock::now() - start;
    for (const ModbusTcpAnswer& a : answers) EXPECT_EQ(a.result, 16) << "limit " << limit;
    if (limit == 2)
      EXPECT_GE(took, std::chrono::milliseconds(3 * 250)) << "three rounds of two";
    else
      EXPECT_LT(took, std::chrono::milliseconds(2 * 250)) << "one round";
  }
}

TEST_F(ModbusTcpBatchTest, ExchangesAddedWhileOthersRunKeepTheirOrder) {
  DevsimProcess peer;
  ASSERT_TRUE(peer.Start({"--no-pty", "--no-udp", "--tcp-port", std::to_string(kPort), "--device",
                          "code=0x0015 station=1 ip=127.0.5.51 sub=0x4041 fault=late:200", "--device",
                          "code=0x0015 station=1 ip=127.0.5.52 sub=0x4042"},
                         m_home.string()));
  CModbusTcpBatch batch(kPort, {});
  batch.Add(ReadSubModules(0x7F000533));  // the late one first
  batch.Poll(50);
  batch.Add(ReadSubModules(0x7F000534));
  EXPECT_TRUE(batch.Busy());
  const auto answers = batch.Finish();
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[0].data.at(1), 0x41);
  EXPECT_EQ(answers[1].data.at(1), 0x42);
  EXPECT_FALSE(batch.Busy());
}

#ifdef CORVANE_HAVE_LIBMODBUS
// A server we did not write: libmodbus, one client at a time.
TEST_F(ModbusTcpBatchTest, LibmodbusServerAnswersEveryExchange) {
  commtest::LibmodbusTcpServer server;
  ASSERT_TRUE(server.Start());
  const std::vector<ModbusTcpQuery> queries(3, ModbusTcpQuery{0x7F000001, 1, 3, {0x00, 0x02, 0x00, 0x03}});
  const auto answers = CModbusTcpBatch::Run(server.Port(), {}, queries);
  for (const ModbusTcpAnswer& a : answers) {
    ASSERT_EQ(a.result, 6);
    EXPECT_EQ(a.data, (std::vector<std::uint8_t>{0, 7, 0, 10, 0, 13}));  // registers hold 3 * i + 1
  }
}
#endif

}  // namespace
}  // namespace corvane
