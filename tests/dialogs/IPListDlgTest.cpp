// Dialog 654 driven through its widgets: the file it writes, what Cancel keeps, the folder check,
// and the Add and Delete rules.
#include <filesystem>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "comm/CommConf.h"
#include "comm/ui/CIPListDlg.h"
#include "comm/ui/CIpAddressEdit.h"
#include "platform/CAppFolders.h"
#include "settings/CIni.h"
#include "tests/dialogs/DialogTestEnv.h"

namespace corvane::comm {
namespace {

using test::DialogTestEnv;
using test::TypeAddress;

class IPListDlgTest : public DialogTestEnv {
protected:
  QPushButton* Button(QDialog& dlg, const char* id) { return dlg.findChild<QPushButton*>(id); }
  std::vector<std::string> Listed(CIPListDlg& dlg) {
    std::vector<std::string> items;
    for (int i = 0; i < dlg.List()->count(); ++i) items.push_back(dlg.List()->item(i)->text().toStdString());
    return items;
  }
  void AddTyped(CIPListDlg& dlg, const std::string& address) {
    TypeAddress(dlg.AddressField(), address);
    QTest::mouseClick(Button(dlg, "11203"), Qt::LeftButton);
  }
  void Select(CIPListDlg& dlg, int row) {
    QListWidget* list = dlg.List();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }
  std::string IniPath() const { return platform::CAppFolders::CorvaneConfigFolder() + "/IPList.ini"; }

  CommConf m_record;
};

TEST_F(IPListDlgTest, ControlsCarryTheirIds) {
  MakeConfigFolder();
  CIPListDlg dlg(m_record, nullptr);
  EXPECT_EQ(dlg.objectName().toStdString(), "654");
  EXPECT_EQ(dlg.windowTitle().toStdString(), "IP Setup");
  EXPECT_NE(dlg.findChild<CIpAddressEdit*>("11200"), nullptr);
  EXPECT_NE(dlg.findChild<QListWidget*>("11201"), nullptr);
  for (const char* id : {"11202", "11203", "11204", "1", "2"}) EXPECT_NE(Button(dlg, id), nullptr) << id;
}

TEST_F(IPListDlgTest, OkWritesTheWholeSectionInTextOrderAndSetsTheAddress) {
  MakeConfigFolder();
  WriteFile(IniPath(), "[IPList]\nIPCount=0\nIP3=7.7.7.7\n[Keep]\nA=1\n");
  CIpAddressEdit opener;
  CIPListDlg dlg(m_record, &opener);
  dlg.show();
  AddTyped(dlg, "9.0.0.1");
  AddTyped(dlg, "10.0.0.2");
  EXPECT_EQ(Listed(dlg), (std::vector<std::string>{"10.0.0.2", "9.0.0.1"}));
  QTest::mouseClick(Button(dlg, "1"), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  CIni ini(IniPath());
  EXPECT_EQ(ini.GetInt("IPList", "IPCount", -1), 2);
  EXPECT_EQ(ini.GetString("IPList", "IP1", "-"), "10.0.0.2");
  EXPECT_EQ(ini.GetString("IPList", "IP2", "-"), "9.0.0.1");
  EXPECT_FALSE(ini.IsKeyExist("IPList", "IP3"));
  EXPECT_EQ(ini.GetString("Keep", "A", "-"), "1");
  // The field, not the list, decides; the opener's field shows it too.
  EXPECT_EQ(static_cast<std::uint32_t>(m_record.IPAddress), 0x0A000002u);
  EXPECT_EQ(opener.Text().toStdString(), "10.0.0.2");
}

TEST_F(IPListDlgTest, CancelLeavesFileAndRecordAsTheyWere) {
  MakeConfigFolder();
  const std::string before = "[IPList]\nIPCount=2\nIP1=10.0.0.2\nIP2=9.0.0.1\n";
  WriteFile(IniPath(), before);
  m_record.IPAddress = 0x01020304;
  CIPListDlg dlg(m_record, nullptr);
  dlg.show();
  EXPECT_EQ(Listed(dlg), (std::vector<std::string>{"10.0.0.2", "9.0.0.1"}));
  AddTyped(dlg, "1.1.1.1");
  Select(dlg, 2);
  QTest::mouseClick(Button(dlg, "11204"), Qt::LeftButton);
  EXPECT_EQ(dlg.List()->count(), 2);
  QTest::mouseClick(Button(dlg, "2"), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(ReadFile(IniPath()), before);
  EXPECT_EQ(m_record.IPAddress, 0x01020304);
}

TEST_F(IPListDlgTest, UncreatableFolderOpensEmptyAndOkStillSetsTheAddress) {
  struct Row {
    const char* name;
    bool fileInTheWay;  // otherwise the folder's parent is missing
  };
  for (const Row& row : {Row{"a file where the folder should be", true}, Row{"no parent folder", false}}) {
    SCOPED_TRACE(row.name);
    const std::string folder = platform::CAppFolders::CorvaneConfigFolder();
    std::filesystem::remove_all(Root() + "/programdata");
    if (row.fileInTheWay) WriteFile(folder, "[IPList]\nIPCount=1\nIP1=5.5.5.5\n");
    CIPListDlg dlg(m_record, nullptr);
    dlg.show();
    EXPECT_EQ(dlg.List()->count(), 0);
    AddTyped(dlg, "4.3.2.1");
    QTest::mouseClick(Button(dlg, "1"), Qt::LeftButton);
    EXPECT_EQ(static_cast<std::uint32_t>(m_record.IPAddress), 0x04030201u);
    EXPECT_EQ(std::filesystem::is_regular_file(folder), row.fileInTheWay);
    EXPECT_FALSE(std::filesystem::exists(folder + "/IPList.ini"));
  }
}

TEST_F(IPListDlgTest, LastLevelIsCreatedWhenItsParentExists) {
  const std::string folder = platform::CAppFolders::CorvaneConfigFolder();
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path());
  CIPListDlg dlg(m_record, nullptr);
  AddTyped(dlg, "9.0.0.1");
  QTest::mouseClick(Button(dlg, "1"), Qt::LeftButton);
  EXPECT_EQ(CIni(IniPath()).GetString("IPList", "IP1", "-"), "9.0.0.1");
}

TEST_F(IPListDlgTest, AddRefusesDuplicatesAndTheBlankField) {
  MakeConfigFolder();
  WriteFile(IniPath(), "[IPList]\nIPCount=1\nIP1=9.0.0.1\n");
  CIPListDlg dlg(m_record, nullptr);
  dlg.show();
  QPushButton* add = Button(dlg, "11203");
  EXPECT_FALSE(add->isEnabled());  // nothing typed yet
  struct Row {
    const char* typed;
    std::vector<std::string> after;
  };
  const Row rows[] = {
      {"9.0.0.1", {"9.0.0.1"}},
      {"", {"9.0.0.1"}},  // a blank field reads 0.0.0.0
      {"0.0.0.0", {"9.0.0.1"}},
      {"09.0.0.1", {"9.0.0.1"}},  // the field's text is canonical
      {"9.0.0.10", {"9.0.0.1", "9.0.0.10"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    TypeAddress(dlg.AddressField(), "1.1.1.1");
    AddTyped(dlg, row.typed);
    EXPECT_EQ(Listed(dlg), row.after);
  }
}

TEST_F(IPListDlgTest, SelectingCopiesToTheFieldAndDeleteDisablesWhenEmpty) {
  MakeConfigFolder();
  WriteFile(IniPath(), "[IPList]\nIPCount=2\nIP1=9.0.0.1\nIP2=10.0.0.2\n");
  CIPListDlg dlg(m_record, nullptr);
  dlg.show();
  QPushButton* del = Button(dlg, "11204");
  EXPECT_FALSE(del->isEnabled());
  Select(dlg, 1);
  EXPECT_EQ(dlg.AddressField()->Text().toStdString(), "9.0.0.1");
  EXPECT_TRUE(del->isEnabled());
  QTest::mouseClick(del, Qt::LeftButton);
  EXPECT_EQ(Listed(dlg), (std::vector<std::string>{"10.0.0.2"}));
  EXPECT_TRUE(del->isEnabled());
  QTest::mouseClick(del, Qt::LeftButton);  // nothing selected: nothing goes
  EXPECT_EQ(dlg.List()->count(), 1);
  Select(dlg, 0);
  QTest::mouseClick(del, Qt::LeftButton);
  EXPECT_EQ(dlg.List()->count(), 0);
  EXPECT_FALSE(del->isEnabled());
  AddTyped(dlg, "8.8.8.8");
  Select(dlg, 0);
  EXPECT_TRUE(del->isEnabled());
}

TEST_F(IPListDlgTest, BroadcastThenOkSetsAllOnes) {
  MakeConfigFolder();
  m_record.IPAddress = 0x0A000002;
  CIPListDlg dlg(m_record, nullptr);
  QTest::mouseClick(Button(dlg, "11202"), Qt::LeftButton);
  EXPECT_EQ(dlg.AddressField()->Text().toStdString(), "255.255.255.255");
  QTest::mouseClick(Button(dlg, "1"), Qt::LeftButton);
  EXPECT_EQ(m_record.IPAddress, -1);
}

}  // namespace
}  // namespace corvane::comm
