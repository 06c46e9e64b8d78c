#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/CNetAdapters.h"
#include "platform/CRegStore.h"
#include "platform/CSerialPortMap.h"

namespace corvane::platform {
namespace {

namespace fs = std::filesystem;

class FakeMachine : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-ports-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "dev");
    fs::create_directories(m_root / "data");
    setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(m_root); }

  void AddTty(const std::string& name, const char* uartType, bool hardware = true) {
    fs::create_directories(m_root / "sys/class/tty" / name);
    if (hardware) fs::create_directories(m_root / "sys/class/tty" / name / "device");
    if (uartType) std::ofstream(m_root / "sys/class/tty" / name / "type") << uartType << "\n";
    std::ofstream(m_root / "dev" / name) << "";
  }
  CSerialPortMap Map() const { return CSerialPortMap((m_root / "sys").string(), (m_root / "dev").string()); }
  fs::path m_root;
};

TEST_F(FakeMachine, PresentDevicesGetStableComNumbers) {
  AddTty("ttyS0", "4");      // a UART behind it
  AddTty("ttyS1", "0");      // a legacy node with nothing behind it
  AddTty("ttyUSB0", nullptr);
  AddTty("ttyACM2", nullptr);
  AddTty("tty5", nullptr, false);  // consoles are not serial ports: no device behind them
  const auto entries = Map().Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].comName, "COM1");
  EXPECT_EQ(entries[1].comName, "COM17");
  EXPECT_EQ(entries[1].valueName, "\\Device\\ttyUSB0");
  EXPECT_EQ(entries[2].comName, "COM35");
  EXPECT_EQ(Map().DeviceForComPort(17), (m_root / "dev" / "ttyUSB0").string());
  EXPECT_FALSE(Map().DeviceForComPort(2).has_value());
}

TEST_F(FakeMachine, ExplicitEntriesWinAndNeedNotBeTerminals) {
  AddTty("ttyUSB0", nullptr);
  CRegStore store;
  ASSERT_EQ(store.CreateKey(RegRoot::LocalMachine, CSerialPortMap::kPortsKey), kRegOk);
  const std::string notATerminal = (m_root / "plain.txt").string();
  std::ofstream(notATerminal) << "x";
  const std::string text17 = "/dev/pts/7";
  auto sz = [](const std::string& s) {
    std::vector<std::uint8_t> d(s.begin(), s.end());
    d.push_back(0);
    return d;
  };
  ASSERT_EQ(store.SetValue(RegRoot::LocalMachine, CSerialPortMap::kPortsKey, {"COM17", REG_SZ, sz(text17)}), kRegOk);
  ASSERT_EQ(store.SetValue(RegRoot::LocalMachine, CSerialPortMap::kPortsKey, {"COM4", REG_SZ, sz(notATerminal)}), kRegOk);
  ASSERT_EQ(store.SetValue(RegRoot::LocalMachine, CSerialPortMap::kPortsKey, {"Junk", REG_SZ, sz("/dev/x")}), kRegOk);
  EXPECT_EQ(Map().DeviceForComPort(17), text17);  // the explicit entry, not ttyUSB0
  EXPECT_EQ(Map().DeviceForComPort(4), notATerminal);
  EXPECT_EQ(Map().DeviceForComPort(18), (m_root / "dev" / "ttyUSB0").string());  // moved on, still listed
  EXPECT_EQ(Map().Entries().size(), 3u);
}

TEST_F(FakeMachine, AdapterTypesFromTheSysTree) {
  fs::create_directories(m_root / "sys/class/net/eth0");
  std::ofstream(m_root / "sys/class/net/eth0/type") << "1\n";
  fs::create_directories(m_root / "sys/class/net/wlan0/wireless");
  std::ofstream(m_root / "sys/class/net/wlan0/type") << "1\n";
  fs::create_directories(m_root / "sys/class/net/lo");
  std::ofstream(m_root / "sys/class/net/lo/type") << "772\n";
  const CNetAdapters adapters((m_root / "sys").string());
  EXPECT_EQ(adapters.Describe("eth0").type, 6);
  EXPECT_EQ(adapters.Describe("wlan0").type, 71);
  EXPECT_EQ(adapters.Describe("lo").type, 24);
  EXPECT_EQ(adapters.Describe("tun9").type, 1);
  EXPECT_EQ(adapters.Describe("eth0").description, "eth0");
}

TEST(NetAdapters, TheRealListHasLoopbackWithItsAddress) {
  int error = -1;
  const auto list = CNetAdapters().Enumerate(&error);
  EXPECT_EQ(error, 0);
  bool sawLoopback = false;
  for (const NetAdapter& a : list)
    if (a.type == 24 && a.firstIPv4 == "127.0.0.1") sawLoopback = true;
  EXPECT_TRUE(sawLoopback);
}

}  // namespace
}  // namespace corvane::platform
