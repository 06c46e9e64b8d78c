#include "platform/CSerialPortMap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/CRegStore.h"

namespace fs = std::filesystem;
using corvane::platform::CRegStore;
using corvane::platform::CSerialPortMap;
using corvane::platform::RegRoot;
using corvane::platform::SerialPortEntry;

// A fake machine: /sys/class/tty, /dev with its serial/by-id links, and a registry store.
class SerialPortMapTest : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("cvn-serial-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "sys/class/tty");
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_directories(root / "cfg");
    ::setenv("PROGRAMDATA", (root / "cfg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "cfg").c_str(), 1);
  }
  void TearDown() override { fs::remove_all(root); }
  // A tty the kernel lists with hardware behind it (device link, driver), and its node.
  void AddTty(const std::string& name, const char* uartType = nullptr, const char* driver = nullptr) {
    const fs::path sys = root / "sys/class/tty" / name;
    fs::create_directories(sys / "device");
    if (driver) fs::create_symlink(std::string("../../../bus/drivers/") + driver, sys / "device/driver");
    if (uartType) std::ofstream(sys / "type") << uartType << "\n";
    std::ofstream(root / "dev" / name) << "";
  }
  void AddVirtualTty(const std::string& name) {
    fs::create_directories(root / "sys/class/tty" / name);
    std::ofstream(root / "dev" / name) << "";
  }
  void Unplug(const std::string& name) {
    fs::remove_all(root / "sys/class/tty" / name);
    fs::remove(root / "dev" / name);
    for (const auto& link : fs::directory_iterator(root / "dev/serial/by-id"))
      if (fs::read_symlink(link.path()).filename() == name) fs::remove(link.path());
  }
  void PlugUsb(const std::string& name, const std::string& byId) {
    AddTty(name, nullptr, "ftdi_sio");
    fs::create_symlink("../../" + name, root / "dev/serial/by-id" / byId);
  }
  std::string Dev(const std::string& name) const { return (root / "dev" / name).string(); }
  CSerialPortMap Map() const { return CSerialPortMap((root / "sys").string(), (root / "dev").string()); }
  std::map<std::string, std::string> ComOfDevice() const {
    std::map<std::string, std::string> m;
    for (const SerialPortEntry& e : Map().Entries()) m[e.device] = e.comName;
    return m;
  }
  fs::path root;
};

TEST_F(SerialPortMapTest, DefaultNumberingPerFamily) {
  AddTty("ttyS0", "4");
  AddTty("ttyS1", "0");    // legacy node without a UART
  AddTty("ttyUSB0");
  AddTty("ttyACM2");
  AddTty("ttyUSB16");      // any number of a family: its own number (16 + 17) is free
  AddVirtualTty("tty5");   // a console: nothing behind it
  const auto map = Map();
  EXPECT_EQ(map.DeviceForComPort(1), Dev("ttyS0"));
  EXPECT_FALSE(map.DeviceForComPort(2));
  EXPECT_EQ(map.DeviceForComPort(17), Dev("ttyUSB0"));
  EXPECT_EQ(map.DeviceForComPort(35), Dev("ttyACM2"));
  EXPECT_EQ(map.DeviceForComPort(33), Dev("ttyUSB16"));
  EXPECT_EQ(map.Entries().size(), 4u);
  EXPECT_EQ(map.Entries()[0].valueName, "\\Device\\ttyS0");
}

TEST_F(SerialPortMapTest, SysEntryWithoutDeviceNodeIsSkipped) {
  fs::create_directories(root / "sys/class/tty/ttyUSB3/device");
  EXPECT_FALSE(Map().DeviceForComPort(20));
  EXPECT_TRUE(Map().Entries().empty());
}

TEST_F(SerialPortMapTest, EveryFamilyTheKernelListsGetsANumber) {
  AddTty("ttyAMA0", nullptr, "uart-pl011");
  AddTty("ttySC1", nullptr, "sc16is7xx");
  AddTty("ttyXRUSB0", nullptr, "xr_usb_serial");
  AddTty("ttyUSB40");  // its own number (57) is free
  const auto m = ComOfDevice();
  ASSERT_EQ(m.size(), 4u);
  EXPECT_EQ(m.at(Dev("ttyUSB40")), "COM57");
  // Without a family number: the lowest free from COM17 on, in name order.
  EXPECT_EQ(m.at(Dev("ttyAMA0")), "COM17");
  EXPECT_EQ(m.at(Dev("ttySC1")), "COM18");
  EXPECT_EQ(m.at(Dev("ttyXRUSB0")), "COM19");
}

TEST_F(SerialPortMapTest, UsbAdapterKeepsItsNumberWhereverItIsPluggedIn) {
  PlugUsb("ttyUSB0", "usb-FTDI_FT232R_A50285BI-if00-port0");
  EXPECT_EQ(ComOfDevice().at(Dev("ttyUSB0")), "COM17");
  PlugUsb("ttyUSB1", "usb-Prolific_PL2303_0001-if00-port0");
  EXPECT_EQ(ComOfDevice().at(Dev("ttyUSB1")), "COM18");
  // Both unplugged, then plugged in the other order: the kernel swaps their names.
  Unplug("ttyUSB0");
  Unplug("ttyUSB1");
  PlugUsb("ttyUSB0", "usb-Prolific_PL2303_0001-if00-port0");
  PlugUsb("ttyUSB1", "usb-FTDI_FT232R_A50285BI-if00-port0");
  auto m = ComOfDevice();
  EXPECT_EQ(m.at(Dev("ttyUSB1")), "COM17");  // the FTDI adapter
  EXPECT_EQ(m.at(Dev("ttyUSB0")), "COM18");  // the Prolific adapter
  // The FTDI adapter away: its number stays reserved; a new adapter takes the next free one.
  Unplug("ttyUSB1");
  PlugUsb("ttyUSB1", "usb-CH340_0002-if00-port0");
  m = ComOfDevice();
  EXPECT_EQ(m.at(Dev("ttyUSB1")), "COM19");
  EXPECT_FALSE(Map().DeviceForComPort(17));
  const auto found = Map().Find(19);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->description, "usb-CH340_0002-if00-port0");
}

TEST_F(SerialPortMapTest, OrdinaryUserKeepsTheNumberInTheirOwnRegistry) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes the machine's file anyway";
  // The machine's registry as installed: readable, not writable by the user.
  const fs::path machine = root / "machine";
  fs::create_directories(machine);
  ::setenv("PROGRAMDATA", machine.c_str(), 1);
  fs::permissions(machine, fs::perms::owner_read | fs::perms::owner_exec);
  PlugUsb("ttyUSB0", "usb-FTDI_FT232R_A50285BI-if00-port0");
  PlugUsb("ttyUSB1", "usb-Prolific_PL2303_0001-if00-port0");
  EXPECT_EQ(ComOfDevice().at(Dev("ttyUSB0")), "COM17");
  Unplug("ttyUSB0");
  Unplug("ttyUSB1");
  PlugUsb("ttyUSB0", "usb-Prolific_PL2303_0001-if00-port0");
  PlugUsb("ttyUSB1", "usb-FTDI_FT232R_A50285BI-if00-port0");
  const auto m = ComOfDevice();
  EXPECT_EQ(m.at(Dev("ttyUSB1")), "COM17");  // the FTDI adapter
  EXPECT_EQ(m.at(Dev("ttyUSB0")), "COM18");
  EXPECT_FALSE(fs::exists(machine / "Zelmar Industrial Automation"));
  fs::permissions(machine, fs::perms::owner_all);
}

TEST_F(SerialPortMapTest, ExplicitEntriesWinOverRecordsAndAreNotListedTwice) {
  PlugUsb("ttyUSB0", "usb-FTDI_FT232R_A50285BI-if00-port0");
  AddTty("ttyACM0", nullptr, "cdc_acm");
  ASSERT_EQ(ComOfDevice().at(Dev("ttyUSB0")), "COM17");
  CRegStore store;
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, CSerialPortMap::kPortsKey, "COM17", "/dev/pts/7"), 0);
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, CSerialPortMap::kPortsKey, "COM3", Dev("ttyACM0")), 0);
  const auto entries = Map().Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].comName, "COM3");  // the explicit entry names the ACM device: only there
  EXPECT_EQ(entries[0].device, Dev("ttyACM0"));
  EXPECT_EQ(entries[1].comName, "COM17");
  EXPECT_EQ(entries[1].device, "/dev/pts/7");
  EXPECT_EQ(entries[2].comName, "COM18");  // the adapter lost 17 to the explicit entry
  EXPECT_EQ(entries[2].device, Dev("ttyUSB0"));
}

TEST_F(SerialPortMapTest, UsersOwnExplicitEntriesFillInWhatTheMachineLeaves) {
  AddTty("ttyACM0", nullptr, "cdc_acm");
  CRegStore store;
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, CSerialPortMap::kPortsKey, "COM5", "/dev/pts/3"), 0);
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, CSerialPortMap::kPortsKey, "COM5", "/dev/pts/9"), 0);
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, CSerialPortMap::kPortsKey, "COM6", "/dev/pts/3"), 0);
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, CSerialPortMap::kPortsKey, "COM7", "/dev/pts/4"), 0);
  ASSERT_EQ(store.SetString(RegRoot::CurrentUser, CSerialPortMap::kPortsKey, "COM1", Dev("ttyACM0")), 0);
  std::map<std::string, std::string> deviceOfCom;
  for (const SerialPortEntry& e : Map().Entries()) deviceOfCom[e.comName] = e.device;
  const std::map<std::string, std::string> expected{
      {"COM1", Dev("ttyACM0")},  // the user's entry, and the device is not numbered again
      {"COM5", "/dev/pts/3"},    // the machine's wins the number
      {"COM7", "/dev/pts/4"}};   // COM6 named a device the machine had already
  EXPECT_EQ(deviceOfCom, expected);
}

TEST_F(SerialPortMapTest, DescriptionSaysWhichDeviceItIs) {
  AddTty("ttyS0", "4", "serial8250");
  AddTty("ttyAMA0");
  PlugUsb("ttyUSB0", "usb-FTDI_FT232R_A50285BI-if00-port0");
  const auto entries = Map().Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].description, "serial8250, " + Dev("ttyS0"));
  EXPECT_EQ(entries[1].description, Dev("ttyAMA0"));  // no driver link: the path alone
  EXPECT_EQ(entries[2].description, "usb-FTDI_FT232R_A50285BI-if00-port0");
  // Each on its own too, for a listing of the ports.
  EXPECT_EQ(entries[0].driver, "serial8250");
  EXPECT_EQ(entries[0].byId, "");
  EXPECT_EQ(entries[1].driver, "");
  EXPECT_EQ(entries[2].driver, "ftdi_sio");
  EXPECT_EQ(entries[2].byId, "usb-FTDI_FT232R_A50285BI-if00-port0");
}
