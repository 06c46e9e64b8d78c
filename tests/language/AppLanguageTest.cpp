// The program started in-process, offscreen, with a stored language and satellites beside it:
// the frame comes up in that language, the Tools menu lists the languages with the one in force
// marked, and a choice shows the restart message in the chosen language and changes nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <filesystem>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "framework/CommandIds.h"
#include "platform/CProfileStore.h"
#include "tests/frame/GuiTestSupport.h"
#include "tests/support/RunCorvaneApp.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

QMenu* TopMenu(CMainFrame& frame, int index) {
  const QList<QAction*> tops = frame.menuBar()->actions();
  return index < tops.size() ? tops[index]->menu() : nullptr;
}

QAction* LanguageItem(QMenu* tools) {
  for (QAction* a : tools->actions())
    if (a->data().toUInt() == cmd::ID_LANGUAGE) return a;
  return nullptr;
}

TEST(AppLanguageTest, StartsInTheStoredLanguageAndAChoiceOnlyShowsTheRestartMessage) {
  const fs::path root = fs::temp_directory_path() / ("cvn-applang-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "bin" / "Config");
  ::setenv("PROGRAMDATA", (root / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root / "home").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", root.c_str(), 1);
  fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", root / "bin" / "libBusLink.so");
  for (const char* qm : {"corvaneCHT.qm", "corvaneCHS.qm"}) fs::copy_file(fs::path(CORVANE_BIN_DIR) / qm, root / "bin" / qm);
  platform::CProfileStore().WriteProfileInt("", "LanguageID", 1028);
  RecordingPrompts prompts;

  RunCorvaneApp((root / "bin" / "corvane").string(), {}, [&](CCorvaneApp& app) {
    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(app.m_Language.Current(), 1028);
    EXPECT_EQ(frame->menuBar()->actions().at(0)->text().toStdString(), "檔案(&F)");
    EXPECT_EQ(frame->CommandAction(cmd::ID_SEARCH_MODULE)->toolTip().toStdString(), "搜尋");

    QMenu* tools = TopMenu(*frame, 2);
    ASSERT_NE(tools, nullptr);
    emit tools->aboutToShow();  // the update of 15302 builds the submenu
    QAction* language = LanguageItem(tools);
    ASSERT_NE(language, nullptr);
    ASSERT_NE(language->menu(), nullptr);
    const QList<QAction*> items = language->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text().toStdString(), "English (ENU)");
    QAction* chs = nullptr;
    for (QAction* a : items) {
      EXPECT_EQ(a->isChecked(), a->text() == "Chinese (CHT)") << a->text().toStdString();
      if (a->text() == "Chinese (CHS)") chs = a;
    }
    ASSERT_NE(chs, nullptr);

    chs->trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "请重新启动 Corvane 以使语言设置生效。");
    EXPECT_EQ(app.Profile().GetProfileInt("", "LanguageID", 0), 2052);
    // The running interface keeps its language, and so does the next menu it builds.
    EXPECT_EQ(app.m_Language.Current(), 1028);
    emit tools->aboutToShow();
    EXPECT_EQ(LanguageItem(tools)->text().toStdString(), "語言(&L)");
    for (QAction* a : LanguageItem(tools)->menu()->actions())
      EXPECT_EQ(a->isChecked(), a->text() == "Chinese (CHT)") << a->text().toStdString();
    EXPECT_EQ(frame->CommandAction(cmd::ID_IP_SEARCH)->toolTip().toStdString(), "IP 搜尋");
  });
  fs::remove_all(root);
}

}  // namespace
}  // namespace corvane::test
