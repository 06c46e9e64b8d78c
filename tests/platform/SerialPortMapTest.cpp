#include "platform/CSerialPortMap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using corvane::platform::CSerialPortMap;

class SerialPortMapTest : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("cvn-serial-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "sys/class/tty");
    fs::create_directories(root / "dev");
    fs::create_directories(root / "cfg");
    ::setenv("PROGRAMDATA", (root / "cfg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "cfg").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root); }
  void AddTty(const std::string& name, const char* uartType = nullptr) {
    fs::create_directories(root / "sys/class/tty" / name);
    if (uartType) std::ofstream(root / "sys/class/tty" / name / "type") << uartType << "\n";
    std::ofstream(root / "dev" / name) << "";
  }
  CSerialPortMap Map() const { return CSerialPortMap((root / "sys").string(), (root / "dev").string()); }
  fs::path root;
};

TEST_F(SerialPortMapTest, DefaultNumberingPerFamily) {
  AddTty("ttyS0", "4");
  AddTty("ttyS1", "0");    // legacy node without a UART
  AddTty("ttyUSB0");
  AddTty("ttyACM2");
  AddTty("ttyUSB16");      // beyond the numbered range
  AddTty("tty5");
  const auto map = Map();
  EXPECT_EQ(map.DeviceForComPort(1), (root / "dev/ttyS0").string());
  EXPECT_FALSE(map.DeviceForComPort(2));
  EXPECT_EQ(map.DeviceForComPort(17), (root / "dev/ttyUSB0").string());
  EXPECT_EQ(map.DeviceForComPort(35), (root / "dev/ttyACM2").string());
  EXPECT_EQ(map.Entries().size(), 3u);
  EXPECT_EQ(map.Entries()[0].valueName, "\\Device\\ttyS0");
}

TEST_F(SerialPortMapTest, SysEntryWithoutDeviceNodeIsSkipped) {
  fs::create_directories(root / "sys/class/tty/ttyUSB3");
  EXPECT_FALSE(Map().DeviceForComPort(20));
  EXPECT_TRUE(Map().Entries().empty());
}
