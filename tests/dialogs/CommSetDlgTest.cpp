// Dialog 653 driven through its widgets: what it opens on, the type, transfer-mode and driver
// rules, Default, and what OK stores.
#include <memory>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "comm/CommConf.h"
#include "comm/ui/CCommSetDlg.h"
#include "comm/ui/CIPListDlg.h"
#include "comm/ui/CIpAddressEdit.h"
#include "comm/ui/CPortItemDelegate.h"
#include "platform/CRegStore.h"
#include "platform/IPrompts.h"
#include "tests/dialogs/DialogTestEnv.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane::comm {
namespace {

using test::Items;
using test::UserPick;

const char* const kCatalogue =
    "<?xml version=\"1.0\"?>\n<DriverInfo>\n"
    "  <Driver DriverName=\"Driver3\" DriverID=\"42\" CommInterface=\"3\" DriverStatus=\"1\"/>\n"
    "  <Driver DriverName=\"Driver1\" DriverID=\"17\" CommInterface=\"1\" DriverStatus=\"1\">\n"
    "    <ComInfo PortNumber=\"4\" PLCStationNum=\"1\" BaudRate=\"9600\"/>\n"
    "  </Driver>\n"
    "  <Driver DriverName=\"Driver12\" DriverID=\"5\" CommInterface=\"2\"><ComInfo PortNumber=\"9\"/></Driver>\n"
    "</DriverInfo>\n";

class CommSetDlgTest : public test::DialogTestEnv {
protected:
  void SetUp() override {
    DialogTestEnv::SetUp();
    SetSerialPorts({"COM2", "COM10", "COM1"});
    m_adapters = {{"eth0 (e1000)", "192.168.1.10"}, {"wlan0 (iwlwifi)", "10.1.2.3"}};
  }

  std::unique_ptr<CCommSetDlg> Open() {
    auto dlg = std::make_unique<CCommSetDlg>(
        m_record, m_names, m_ips, m_linkPreset, [this] { return m_remote; },
        [this] {
          ++m_enumerations;
          m_names.clear();
          m_ips.clear();
          for (const auto& [name, ip] : m_adapters) {
            m_names.push_back(name);
            m_ips.push_back(ip);
          }
        });
    dlg->show();
    return dlg;
  }
  template <class T = QComboBox>
  static T* Get(QDialog& dlg, const char* id) {
    T* w = dlg.findChild<T*>(id);
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  static std::string Text(QDialog& dlg, const char* id) { return Get(dlg, id)->currentText().toStdString(); }
  static bool Enabled(QDialog& dlg, const char* id) { return Get<QWidget>(dlg, id)->isEnabled(); }
  static void Ok(QDialog& dlg) { QTest::mouseClick(Get<QPushButton>(dlg, "1"), Qt::LeftButton); }

  CommConf m_record;
  std::vector<std::string> m_names{"stale"}, m_ips{"0.0.0.0"};
  std::vector<std::pair<std::string, std::string>> m_adapters;
  bool m_linkPreset = false;
  std::uint32_t m_remote = 0;
  int m_enumerations = 0;
};

TEST_F(CommSetDlgTest, EveryControlCarriesItsId) {
  auto dlg = Open();
  EXPECT_EQ(dlg->objectName().toStdString(), "653");
  EXPECT_EQ(dlg->windowTitle().toStdString(), "Communication Setting");
  for (const char* id : {"11100", "11113", "11112", "11101", "11103", "11102", "11105", "11104", "11107", "11106"})
    Get(*dlg, id);
  Get<QLabel>(*dlg, "11114");
  Get<CIpAddressEdit>(*dlg, "11108");
  for (const char* id : {"11109", "11111", "1", "2"}) Get<QPushButton>(*dlg, id);
  EXPECT_EQ(Get<QLineEdit>(*dlg, "11110")->maxLength(), 3);
  EXPECT_EQ(Items(Get(*dlg, "11100")), (std::vector<std::string>{"RS232", "Ethernet", "PORTHUB"}));
  EXPECT_EQ(Items(Get(*dlg, "11103")), (std::vector<std::string>{"9600", "19200", "38400", "57600", "115200"}));
  EXPECT_EQ(Items(Get(*dlg, "11105")), (std::vector<std::string>{"None", "Odd", "Even"}));
  EXPECT_EQ(Get(*dlg, "11107")->count(), 248);
}

TEST_F(CommSetDlgTest, OpensOnTheStoredValuesOrTheirFallbacks) {
  struct Row {
    const char* name;
    void (*edit)(CommConf&);
    const char* id;
    const char* shown;
  };
  const Row rows[] = {
      {"baud 4800", [](CommConf& c) { c.BaudRate = 4800; }, "11103", "9600"},
      {"baud 57600", [](CommConf& c) { c.BaudRate = 57600; }, "11103", "57600"},
      {"port not listed", [](CommConf& c) { c.ComPortNum = 7; }, "11101", "COM1"},
      {"port 10", [](CommConf& c) { c.ComPortNum = 10; }, "11101", "COM10"},
      {"interface = count", [](CommConf& c) { c.NetInterface = 2; }, "11113", "eth0 (e1000)"},
      {"interface 1", [](CommConf& c) { c.NetInterface = 1; }, "11113", "wlan0 (iwlwifi)"},
      {"station 247", [](CommConf& c) { c.StationAddr = 247; }, "11107", "247"},
      {"station 248", [](CommConf& c) { c.StationAddr = 248; }, "11107", ""},
      {"data length 9", [](CommConf& c) { c.DataLen = 9; }, "11102", "7"},
      {"stop bits 2", [](CommConf& c) { c.StopBits = 2; }, "11104", "2"},
      {"parity 3", [](CommConf& c) { c.Parity = 3; }, "11105", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    m_record = CommConf{};
    row.edit(m_record);
    auto dlg = Open();
    EXPECT_EQ(Text(*dlg, row.id), row.shown);
  }
}

TEST_F(CommSetDlgTest, PortsInTextOrderAdaptersRefreshedFirst) {
  auto dlg = Open();
  EXPECT_EQ(Items(Get(*dlg, "11101")), (std::vector<std::string>{"COM1", "COM10", "COM2"}));
  EXPECT_EQ(m_enumerations, 1);
  EXPECT_EQ(Items(Get(*dlg, "11113")), (std::vector<std::string>{"eth0 (e1000)", "wlan0 (iwlwifi)"}));
  EXPECT_EQ(Get<QLabel>(*dlg, "11114")->text().toStdString(), "IP : 192.168.1.10");
}

TEST_F(CommSetDlgTest, InterfaceLabelFollowsTheSelection) {
  m_record.CommType = 1;
  auto dlg = Open();
  UserPick(Get(*dlg, "11113"), 1);
  EXPECT_EQ(Get<QLabel>(*dlg, "11114")->text().toStdString(), "IP : 10.1.2.3");
}

TEST_F(CommSetDlgTest, TypeRulesAtOpening) {
  struct Row {
    int type;
    bool driver, serial, station, ip, interface;
    const char* mode;
  };
  const Row rows[] = {
      {0, false, true, true, false, false, "RTU"},  // a serial link keeps its stored mode
      {1, false, false, false, true, true, "RTU"},
      {2, true, false, true, false, true, "ASCII"},  // the interface list keeps its built state
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    m_record.CommType = row.type;
    m_record.ModbusMode = row.type == 1 ? 0 : 1;  // the Ethernet and manager rules override it
    auto dlg = Open();
    EXPECT_EQ(Get(*dlg, "11100")->currentIndex(), row.type);
    EXPECT_EQ(Enabled(*dlg, "11112"), row.driver);
    EXPECT_EQ(Get<QWidget>(*dlg, "11112")->isVisible(), row.driver);
    for (const char* id : {"11101", "11103", "11102", "11105", "11104"}) EXPECT_EQ(Enabled(*dlg, id), row.serial) << id;
    EXPECT_EQ(Enabled(*dlg, "11107"), row.station);
    EXPECT_EQ(Enabled(*dlg, "11106"), row.type == 0);
    EXPECT_EQ(Enabled(*dlg, "11108"), row.ip);
    EXPECT_EQ(Enabled(*dlg, "11109"), row.ip);
    EXPECT_EQ(Enabled(*dlg, "11113"), row.interface);
    EXPECT_EQ(Text(*dlg, "11106"), row.mode);
  }
}

TEST_F(CommSetDlgTest, RtuRuleThenEthernet) {
  m_record.DataLen = 7;
  m_record.Parity = 0;
  m_record.StopBits = 2;
  auto dlg = Open();
  // Opening sets ASCII by the type rule without running the transfer-mode rule.
  EXPECT_EQ(Text(*dlg, "11105"), "None");
  EXPECT_EQ(Text(*dlg, "11104"), "2");
  UserPick(Get(*dlg, "11106"), "RTU");
  EXPECT_EQ(Text(*dlg, "11102"), "8");
  EXPECT_EQ(Text(*dlg, "11105"), "Even");
  EXPECT_EQ(Text(*dlg, "11104"), "1");
  UserPick(Get(*dlg, "11105"), "Odd");
  UserPick(Get(*dlg, "11106"), "ASCII");
  EXPECT_EQ(Text(*dlg, "11102"), "7");
  EXPECT_EQ(Text(*dlg, "11105"), "Even");
  UserPick(Get(*dlg, "11105"), "Odd");
  UserPick(Get(*dlg, "11100"), "Ethernet");
  for (const char* id : {"11101", "11103", "11102", "11105", "11104", "11107", "11106"})
    EXPECT_FALSE(Enabled(*dlg, id)) << id;
  EXPECT_EQ(Text(*dlg, "11106"), "RTU");
  EXPECT_EQ(Text(*dlg, "11102"), "7");   // setting RTU by the type rule does not run the mode rule
  EXPECT_EQ(Text(*dlg, "11105"), "Odd");
  EXPECT_TRUE(Enabled(*dlg, "11108"));
  EXPECT_TRUE(Enabled(*dlg, "11113"));
}

TEST_F(CommSetDlgTest, DriverListRuleAndWhatOkStores) {
  InstallCatalogue(kCatalogue);
  m_record.CommType = 2;
  m_record.PorthubDrv = 3;
  auto dlg = Open();
  EXPECT_EQ(Items(Get(*dlg, "11112")), (std::vector<std::string>{"Driver1", "Driver12", "Driver3"}));
  EXPECT_EQ(Text(*dlg, "11112"), "Driver3");
  UserPick(Get(*dlg, "11112"), "Driver1");
  EXPECT_FALSE(Enabled(*dlg, "11108"));
  EXPECT_FALSE(Enabled(*dlg, "11109"));
  UserPick(Get(*dlg, "11112"), "Driver3");
  EXPECT_TRUE(Enabled(*dlg, "11108"));
  EXPECT_TRUE(Enabled(*dlg, "11109"));
  Ok(*dlg);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(m_record.CommType, 2);
  EXPECT_EQ(m_record.PorthubDrv, 3);
  EXPECT_EQ(m_record.PorthubDrvID, 42);
  EXPECT_EQ(m_record.PorthubInter, 3);
  EXPECT_EQ(m_record.PorthubCOM, -1);
}

TEST_F(CommSetDlgTest, SerialDriverStoresItsPort) {
  InstallCatalogue(kCatalogue);
  m_record.CommType = 2;
  m_record.PorthubDrv = 12;
  auto dlg = Open();
  EXPECT_EQ(Text(*dlg, "11112"), "Driver12");
  Ok(*dlg);
  EXPECT_EQ(m_record.PorthubDrv, 12);
  EXPECT_EQ(m_record.PorthubInter, 2);
  EXPECT_EQ(m_record.PorthubDrvID, 5);
  EXPECT_EQ(m_record.PorthubCOM, 9);
}

TEST_F(CommSetDlgTest, NoCatalogueStoresZeroAndNotFound) {
  m_record.PorthubDrv = 3;
  auto dlg = Open();
  EXPECT_EQ(Get(*dlg, "11112")->count(), 0);
  Ok(*dlg);
  EXPECT_EQ(m_record.PorthubDrv, 0);
  EXPECT_EQ(m_record.PorthubInter, -1);
  EXPECT_EQ(m_record.PorthubDrvID, -1);
  EXPECT_EQ(m_record.PorthubCOM, -1);
}

TEST_F(CommSetDlgTest, AnUnknownTypeSelectsNothingAppliesNoRulesAndStoresMinusOne) {
  m_record.CommType = 3;
  m_record.ModbusMode = 1;
  auto dlg = Open();
  EXPECT_EQ(Get(*dlg, "11100")->currentIndex(), -1);
  EXPECT_EQ(Text(*dlg, "11106"), "RTU");
  EXPECT_FALSE(Get<QWidget>(*dlg, "11112")->isVisible());
  for (const char* id : {"11101", "11108", "11109", "11113", "11106"}) EXPECT_TRUE(Enabled(*dlg, id)) << id;
  Ok(*dlg);
  EXPECT_EQ(m_record.CommType, -1);
}

TEST_F(CommSetDlgTest, OkStoresEveryField) {
  m_record.CommType = 0;
  m_record.IPAddress = 0x0A000002;
  m_record.NetInterface = 1;
  m_record.PorthubPort = 777;
  auto dlg = Open();
  UserPick(Get(*dlg, "11101"), "COM10");
  UserPick(Get(*dlg, "11103"), "115200");
  UserPick(Get(*dlg, "11105"), "Odd");
  UserPick(Get(*dlg, "11104"), "2");
  UserPick(Get(*dlg, "11107"), 17);
  UserPick(Get(*dlg, "11102"), "8");
  Ok(*dlg);
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(m_record.CommType, 0);
  EXPECT_EQ(m_record.ComPortNum, 10);
  EXPECT_EQ(m_record.BaudRate, 115200);
  EXPECT_EQ(m_record.Parity, 1);
  EXPECT_EQ(m_record.StopBits, 2);
  EXPECT_EQ(m_record.DataLen, 8);
  EXPECT_EQ(m_record.StationAddr, 17);
  EXPECT_EQ(m_record.ModbusMode, 0);
  EXPECT_EQ(m_record.IPAddress, 0x0A000002);
  EXPECT_EQ(m_record.NetInterface, 1);
  EXPECT_EQ(static_cast<std::uint32_t>(m_record.HostIPAddr), 0x0A010203u);
  EXPECT_EQ(m_record.PorthubPort, 777);
}

TEST_F(CommSetDlgTest, SerialLinkKeepsItsModeThroughOkButAPickedTypeGetsTheRule) {
  m_record.CommType = 0;
  m_record.ModbusMode = 1;  // RTU
  m_record.DataLen = 8;
  auto dlg = Open();
  UserPick(Get(*dlg, "11101"), "COM2");  // the user changes the port only
  Ok(*dlg);
  EXPECT_EQ(m_record.ModbusMode, 1);
  EXPECT_EQ(m_record.DataLen, 8);

  m_record.CommType = 1;
  auto ethernet = Open();
  UserPick(Get(*ethernet, "11100"), "RS232");
  EXPECT_EQ(Text(*ethernet, "11106"), "ASCII");
}

TEST_F(CommSetDlgTest, PortListShowsWhichDeviceEachNameIsAndStoresTheNumberAsBefore) {
  SetSerialPorts({"COM2", "COM17"});
  platform::CRegStore store;
  ASSERT_EQ(store.SetString(platform::RegRoot::LocalMachine, "SOFTWARE\\Zelmar\\Corvane\\Ports", "COM17",
                            "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0"),
            0);
  m_record.ComPortNum = 17;
  auto dlg = Open();
  QComboBox* com = Get(*dlg, "11101");
  EXPECT_EQ(Items(com), (std::vector<std::string>{"COM17", "COM2"}));  // the names alone, in text order
  EXPECT_EQ(com->itemData(0, CPortItemDelegate::kDetailRole).toString().toStdString(),
            "/dev/serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0");
  EXPECT_EQ(com->toolTip(), com->itemData(0, CPortItemDelegate::kDetailRole).toString());
  // The drop-down draws the device beside the name.
  QStyleOptionViewItem option;
  option.initFrom(com->view());
  struct Probe : CPortItemDelegate {
    using CPortItemDelegate::initStyleOption;
  } probe;
  probe.initStyleOption(&option, com->model()->index(0, 0));
  EXPECT_TRUE(option.text.startsWith("COM17")) << option.text.toStdString();
  EXPECT_TRUE(option.text.endsWith("usb-FTDI_FT232R_A50285BI-if00-port0")) << option.text.toStdString();
  Ok(*dlg);
  EXPECT_EQ(m_record.ComPortNum, 17);
}

TEST_F(CommSetDlgTest, NoPortsStoresPortZero) {
  SetSerialPorts({});
  m_record.ComPortNum = 4;
  auto dlg = Open();
  Ok(*dlg);
  EXPECT_EQ(m_record.ComPortNum, 0);
}

// With no adapter listed only an Ethernet link is refused, with a message saying why; a serial
// or manager link is stored (the adapter stored before stays for the day one is back).
TEST_F(CommSetDlgTest, OkWithNoAdaptersRefusesOnlyAnEthernetLink) {
  const struct {
    int type;
    bool stored;
  } rows[] = {{CCommSetDlg::kSerial, true}, {CCommSetDlg::kEthernet, false}, {CCommSetDlg::kPorthub, true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.type);
    test::ScriptedPrompts prompts;
    IPrompts* previous = SetPrompts(&prompts);
    m_adapters.clear();
    m_record = CommConf{};
    m_record.BaudRate = 19200;
    m_record.NetInterface = 1;
    m_record.HostIPAddr = 0x0A010203;
    auto dlg = Open();
    UserPick(Get(*dlg, "11103"), "57600");
    UserPick(Get(*dlg, "11100"), r.type);
    Ok(*dlg);
    SetPrompts(previous);
    EXPECT_EQ(dlg->isVisible(), !r.stored);
    if (r.stored) {
      EXPECT_EQ(dlg->result(), QDialog::Accepted);
      EXPECT_TRUE(prompts.shown.empty());
      EXPECT_EQ(m_record.CommType, r.type);
      EXPECT_EQ(m_record.BaudRate, 57600);
      EXPECT_EQ(m_record.NetInterface, 1);
      EXPECT_EQ(m_record.HostIPAddr, -1);
      continue;
    }
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0],
              "No Ethernet or wireless network adapter is available, so an Ethernet link cannot be set.\n"
              "Connect a network adapter, or choose another communication type.");
    EXPECT_EQ(m_record.CommType, CommConf{}.CommType);
    EXPECT_EQ(m_record.BaudRate, 19200);
    EXPECT_EQ(m_record.HostIPAddr, 0x0A010203);
    QTest::mouseClick(Get<QPushButton>(*dlg, "2"), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
  }
}

TEST_F(CommSetDlgTest, DefaultResetsTheProtocolOnly) {
  m_record.BaudRate = 38400;
  m_record.DataLen = 8;
  m_record.Parity = 0;
  m_record.StopBits = 2;
  m_record.StationAddr = 9;
  auto dlg = Open();
  QTest::mouseClick(Get<QPushButton>(*dlg, "11111"), Qt::LeftButton);
  EXPECT_EQ(Text(*dlg, "11103"), "9600");
  EXPECT_EQ(Text(*dlg, "11102"), "7");
  EXPECT_EQ(Text(*dlg, "11105"), "Even");
  EXPECT_EQ(Text(*dlg, "11104"), "1");
  EXPECT_EQ(Text(*dlg, "11106"), "ASCII");
  EXPECT_EQ(Text(*dlg, "11107"), "9");
}

TEST_F(CommSetDlgTest, IpFieldFromTheRecordOrTheLinkPreset) {
  m_record.IPAddress = 0xC0A80105;
  EXPECT_EQ(Get<CIpAddressEdit>(*Open(), "11108")->Text().toStdString(), "192.168.1.5");
  m_linkPreset = true;
  m_remote = 0x0A000063;
  EXPECT_EQ(Get<CIpAddressEdit>(*Open(), "11108")->Text().toStdString(), "10.0.0.99");
}

TEST_F(CommSetDlgTest, IpListOkSetsRecordAndFieldEvenWhenThisDialogIsCancelled) {
  MakeConfigFolder();
  m_record.CommType = 1;
  m_record.IPAddress = 0x01010101;
  auto dlg = Open();
  bool sawList = false;
  QTimer::singleShot(0, [&] {
    auto* list = qobject_cast<CIPListDlg*>(QApplication::activeModalWidget());
    if (!list) return;
    sawList = list->parent() == dlg.get();
    test::TypeAddress(list->AddressField(), "172.16.0.9");
    QTest::mouseClick(list->findChild<QPushButton*>("1"), Qt::LeftButton);
  });
  QTest::mouseClick(Get<QPushButton>(*dlg, "11109"), Qt::LeftButton);
  EXPECT_TRUE(sawList);
  EXPECT_EQ(Get<CIpAddressEdit>(*dlg, "11108")->Text().toStdString(), "172.16.0.9");
  QTest::mouseClick(Get<QPushButton>(*dlg, "2"), Qt::LeftButton);
  EXPECT_EQ(static_cast<std::uint32_t>(m_record.IPAddress), 0xAC100009u);
}

}  // namespace
}  // namespace corvane::comm
