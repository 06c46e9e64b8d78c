// The serial line settings of a port: what the dialog opens on, what OK stores and hands to the
// links, and a store that refuses.
#include "comm/ui/CSerialLineDlg.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "comm/CSerialLineSettings.h"
#include "libs/portlink/CPortLink.h"
#include "platform/CRegStore.h"
#include "platform/IPrompts.h"
#include "tests/dialogs/DialogTestEnv.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane::comm {
namespace {

class SerialLineDlgTest : public test::DialogTestEnv {
protected:
  void SetUp() override {
    DialogTestEnv::SetUp();
    SetPrompts(&m_prompts);
  }
  void TearDown() override {
    SetPrompts(nullptr);
    CPortLink::SetPortMap(nullptr);
    CPortLink::SetDefaultResponseTimeout(0);
    DialogTestEnv::TearDown();
  }
  template <class T>
  static T* Get(QDialog& dlg, const char* id) {
    T* w = dlg.findChild<T*>(id);
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  test::ScriptedPrompts m_prompts;
};

TEST_F(SerialLineDlgTest, OpensOnTheStoredSettingsOffByDefault) {
  CSerialLineDlg fresh(5);
  EXPECT_EQ(fresh.windowTitle().toStdString(), "Serial Line Settings - COM5");
  EXPECT_EQ(Get<QSpinBox>(fresh, "ResponseTime")->value(), 1000);
  EXPECT_FALSE(Get<QGroupBox>(fresh, "RS485")->isChecked());
  ASSERT_TRUE(CSerialLineSettings::SetResponseTime(3000));
  ASSERT_TRUE(CSerialLineSettings::SetPort(5, {true, 4, 7}));
  CSerialLineDlg stored(5);
  EXPECT_EQ(Get<QSpinBox>(stored, "ResponseTime")->value(), 3000);
  EXPECT_TRUE(Get<QGroupBox>(stored, "RS485")->isChecked());
  EXPECT_EQ(Get<QSpinBox>(stored, "DelayBefore")->value(), 4);
  EXPECT_EQ(Get<QSpinBox>(stored, "DelayAfter")->value(), 7);
  CSerialLineDlg other(6);
  EXPECT_FALSE(Get<QGroupBox>(other, "RS485")->isChecked());  // RS-485 is per port
}

TEST_F(SerialLineDlgTest, OkStoresAndTheLinksFollowAtOnce) {
  CSerialLineDlg dlg(7);
  dlg.show();
  Get<QSpinBox>(dlg, "ResponseTime")->setValue(2200);
  Get<QGroupBox>(dlg, "RS485")->setChecked(true);
  Get<QSpinBox>(dlg, "DelayAfter")->setValue(3);
  QTest::mouseClick(Get<QPushButton>(dlg, "1"), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(CSerialLineSettings::ResponseTime(), 2200);
  EXPECT_TRUE(CSerialLineSettings::Port(7).rs485);
  EXPECT_EQ(CSerialLineSettings::Port(7).delayAfterMs, 3);
  EXPECT_EQ(CPortLink().ResponseTimeout(), 2200);
  EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(SerialLineDlgTest, StoreThatRefusesIsSaidAndTheDialogStays) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes any folder; the unprivileged run covers this";
  const std::string machine = platform::CRegStore::FilePath(platform::RegRoot::LocalMachine);
  const std::string folder = std::filesystem::path(machine).parent_path().string();
  std::filesystem::create_directories(folder);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  CSerialLineDlg dlg(7);
  dlg.show();
  Get<QGroupBox>(dlg, "RS485")->setChecked(true);
  QTest::mouseClick(Get<QPushButton>(dlg, "1"), Qt::LeftButton);
  ::chmod(folder.c_str(), 0755);
  ASSERT_EQ(m_prompts.shown.size(), 1u);
  EXPECT_NE(m_prompts.shown[0].find("could not be stored"), std::string::npos);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_FALSE(CSerialLineSettings::Port(7).rs485);
}

}  // namespace
}  // namespace corvane::comm
