#include "tests/dialogs/DialogTestEnv.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include "comm/ui/CIpAddressEdit.h"
#include "platform/CAppFolders.h"
#include "platform/CRegStore.h"

namespace corvane::test {

namespace {

void EnsureApplication() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "dialogs_gui_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace

void DialogTestEnv::SetUp() {
  ASSERT_TRUE(m_dir.isValid());
  EnsureApplication();
  ::setenv("PROGRAMDATA", (Root() + "/programdata").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (Root() + "/config").c_str(), 1);
  SetSerialPorts({});
}

void DialogTestEnv::TearDown() {
  platform::CRegStore::SetSerialCommProvider({});
  ::unsetenv("PROGRAMDATA");
  ::unsetenv("XDG_CONFIG_HOME");
}

std::string DialogTestEnv::MakeConfigFolder() {
  const std::string folder = platform::CAppFolders::CorvaneConfigFolder();
  std::filesystem::create_directories(folder);
  return folder;
}

void DialogTestEnv::SetSerialPorts(std::vector<std::string> ports) {
  platform::CRegStore::SetSerialCommProvider([ports] {
    platform::RegStringPairs pairs;
    for (std::size_t i = 0; i < ports.size(); ++i) pairs.emplace_back("\\Device\\tty" + std::to_string(i), ports[i]);
    return pairs;
  });
}

void DialogTestEnv::InstallCatalogue(const std::string& xml) {
  const std::string folder = Root() + "/porthub/";
  WriteFile(folder + "DriverInfo.dri", xml);
  platform::CRegStore().SetString(platform::RegRoot::LocalMachine,
                                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\PORTHUB.exe", "Path",
                                  folder);
}

std::string DialogTestEnv::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void DialogTestEnv::WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void UserPick(QComboBox* combo, int index) {
  ASSERT_TRUE(combo->isEnabled()) << combo->objectName().toStdString() << " is disabled";
  ASSERT_GE(index, 0);
  ASSERT_LT(index, combo->count());
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
  const QModelIndex item = combo->model()->index(index, combo->modelColumn(), combo->rootModelIndex());
  // Choose with the keyboard inside the open list: a click would depend on the
  // list's layout having happened, which a loaded machine delays.
  view->setCurrentIndex(item);
  QTest::keyClick(view, Qt::Key_Return);
  for (int i = 0; i < 200 && view->window()->isVisible(); ++i) QTest::qWait(5);
  ASSERT_FALSE(view->window()->isVisible());
  ASSERT_EQ(combo->currentIndex(), index);
}

void UserPick(QComboBox* combo, const char* text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text << " is not in " << combo->objectName().toStdString();
  UserPick(combo, index);
}

void TypeAddress(comm::CIpAddressEdit* field, const std::string& dotted) {
  const QStringList parts = QString::fromStdString(dotted).split('.');
  for (int i = 0; i < 4; ++i) {
    field->Part(i)->selectAll();
    QTest::keyClick(field->Part(i), Qt::Key_Delete);
    if (i < parts.size()) QTest::keyClicks(field->Part(i), parts[i]);
  }
}

std::vector<std::string> Items(QComboBox* combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
  return items;
}

}  // namespace corvane::test
