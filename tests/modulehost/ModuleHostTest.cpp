// Real module libraries loaded by the real application object, offscreen.
#include <gtest/gtest.h>

#include "platform/IPrompts.h"

#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CConfigureDlg.h"
#include "app/ui/CFrameServices.h"
#include "framework/CommandIds.h"
#include "app/ui/CMainFrame.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMyDocManager.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/RunCorvaneApp.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class ModuleHost : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-mod-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "bin" / "Config");
    fs::create_directories(m_root / "data");
    fs::create_directories(m_root / "home");
    setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_root / "home").c_str(), 1);
    setenv("CORVANE_TEST_RECORD", (m_root / "record.txt").c_str(), 1);
    fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", m_root / "bin" / "libBusLink.so");
    SetPrompts(&m_prompts);  // no real message box may wait for a user here
  }
  void TearDown() override {
    SetPrompts(nullptr);
    fs::remove_all(m_root);
  }

  void Install(std::initializer_list<const char*> modules, const std::string& catalogue) {
    for (const char* m : modules)
      fs::create_symlink(fs::path(TEST_MODULE_DIR) / (std::string(m) + ".so"), m_root / "bin" / (std::string(m) + ".so"));
    std::ofstream(m_root / "bin" / "Config" / "Modules.ini") << "[ModuleCode]\n" << catalogue;
  }

  template <typename Body>
  void RunApp(Body body) {
    test::RunCorvaneApp((m_root / "bin" / "corvane").string(), {}, body);
  }

  std::vector<std::string> Record() const {
    std::ifstream in(m_root / "record.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  static int Documents(CCorvaneApp& app) { return static_cast<int>(app.GetDocManager()->GetOpenDocumentCount()); }

  fs::path m_root;
  test::ScriptedPrompts m_prompts;
};

TEST_F(ModuleHost, CatalogueGatesByLinkTypeAndOpensOnce) {
  Install({"moda"}, "0203=No,Yes,ModA,Ethernet,ModA.SO\n");
  RunApp([&](CCorvaneApp& app) {
    CMainFrame* frame = app.GetMainFrame();
    frame->Services()->Conf().CommType = 0;
    EXPECT_FALSE(app.OpenModule("0203"));
    EXPECT_EQ(Documents(app), 0);
    frame->Services()->Conf().CommType = 2;
    EXPECT_FALSE(app.OpenModule("0203"));
    frame->Services()->Conf().CommType = 1;
    EXPECT_TRUE(app.OpenModule("0203"));  // ModA.SO in the catalogue finds moda.so
    EXPECT_TRUE(app.OpenModule("0203"));
    EXPECT_EQ(Documents(app), 1);
    EXPECT_EQ(app.m_aOpenModuleFiles.GetSize(), 1);
    EXPECT_EQ(app.m_aOpenModuleFiles.GetAt(0), "ModA.SO");
    EXPECT_EQ(app.m_aOpenModuleCodes.GetAt(0), "0203");
    EXPECT_EQ(app.GetDocManager()->DocumentWalk().front()->GetTitle(), "ModA");
    CDeviceTreeWnd* tree = frame->DeviceTree();
    ASSERT_EQ(tree->EthernetItem()->childCount(), 1);
    EXPECT_EQ(tree->EthernetItem()->child(0)->text(0).toStdString(), "ModA");
    EXPECT_FALSE(app.OpenModule("9999"));
    EXPECT_EQ(app.FindModuleCode("ModA"), "0203");
    EXPECT_EQ(app.FindModuleCode("Nothing"), "None");
    EXPECT_EQ(app.GetModuleName("9999"), "");
  });
}

TEST_F(ModuleHost, BrokenLibrariesAreSkippedAndNumbersStayInStep) {
  Install({"moda", "modb", "nulltpl", "badver", "noexport"},
          "0001=Yes,Yes,ModA,Ethernet,moda.so\n0002=Yes,Yes,ModB,SMX,modb.so\n"
          "0003=Yes,Yes,NullTpl,SMX,nulltpl.so\n0004=Yes,Yes,BadVer,SMX,badver.so\n");
  RunApp([&](CCorvaneApp& app) {
    // Kept: the three with the export and our version; libBusLink, noexport and badver are not modules.
    EXPECT_EQ(app.ModuleLibraries().Count(), 3);
    EXPECT_EQ(app.GetDocManager()->GetTemplateCount(), 3u);  // built-in, ModA, ModB
    EXPECT_EQ(app.FindTemplateNumber("nulltpl.so"), 0);
    EXPECT_FALSE(app.OpenModule("0003"));
    EXPECT_FALSE(app.OpenModule("0004"));
    // Whatever the directory order, each code opens its own module.
    EXPECT_TRUE(app.OpenModule("0002"));
    EXPECT_TRUE(app.OpenModule("0001"));
    std::vector<std::string> titles;
    for (CDocument* d : app.GetDocManager()->DocumentWalk()) titles.push_back(d->GetTitle());
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"ModA", "ModB"}));
    EXPECT_EQ(app.GetMainFrame()->DeviceTree()->SmxItem()->childCount(), 1);
  });
}

TEST_F(ModuleHost, NoLibrariesLeaveOnlyTheBuiltInTemplate) {
  Install({}, "0203=Yes,Yes,ModA,Ethernet,moda.so\n");
  RunApp([&](CCorvaneApp& app) {
    EXPECT_EQ(app.GetDocManager()->GetTemplateCount(), 1u);
    app.GetMainFrame()->Services()->Conf().CommType = 1;
    EXPECT_FALSE(app.OpenModule("0203"));
  });
}

TEST_F(ModuleHost, TemplatesAreDeletedBeforeTheirLibrariesAreFreed) {
  Install({"moda"}, "0203=Yes,Yes,ModA,Ethernet,moda.so\n");
  RunApp([&](CCorvaneApp& app) {
    app.GetMainFrame()->Services()->Conf().CommType = 1;
    EXPECT_TRUE(app.OpenModule("0203"));
  });
  const auto lines = Record();
  const auto deleted = std::find(lines.begin(), lines.end(), "ModA template-deleted");
  // The probe at start-up loads and frees every library once; the last free is the release.
  ASSERT_NE(deleted, lines.end());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "ModA library-freed");
  EXPECT_LT(deleted, lines.end() - 1);
}

QTreeWidgetItem* FindItem(QTreeWidget* tree, const QString& text) {
  const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
  return found.isEmpty() ? nullptr : found.front();
}

TEST_F(ModuleHost, ConfigureOpensTheTickedModulesInTickingOrder) {
  Install({"moda", "modb"},
          "0001=Yes,Yes,ModA,Ethernet,ModA.so\n0002=Yes,Yes,ModB,SMX,ModB.so\n0003=Yes,Yes,ModC,Ethernet,modc.so\n");
  RunApp([&](CCorvaneApp& app) {
    CMainFrame* frame = app.GetMainFrame();
    frame->Services()->Conf().CommType = 1;
    frame->ConfigureDialogHook = [](CConfigureDlg& dlg) {
      QTreeWidget* tree = dlg.OptionTree();
      // Groups of the catalogue under the root, whatever their order in the file.
      EXPECT_EQ(tree->topLevelItem(0)->text(0), "Network Type");
      EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
      FindItem(tree, "ModB")->setCheckState(0, Qt::Checked);
      FindItem(tree, "ModC")->setCheckState(0, Qt::Checked);
      FindItem(tree, "ModC")->setCheckState(0, Qt::Unchecked);
      FindItem(tree, "ModA")->setCheckState(0, Qt::Checked);
      return int(QDialog::Accepted);
    };
    EXPECT_TRUE(frame->OnCommand(cmd::ID_CONFIGURE));
    EXPECT_EQ(app.m_aSelectedModules.GetSize(), 2);
    EXPECT_EQ(Documents(app), 2);
    const auto lines = Record();
    const auto b = std::find(lines.begin(), lines.end(), "ModB 10900");
    const auto a = std::find(lines.begin(), lines.end(), "ModA 10900");
    ASSERT_NE(a, lines.end());
    ASSERT_NE(b, lines.end());
    EXPECT_LT(b, a);

    // Now open: not offered again.
    frame->ConfigureDialogHook = [](CConfigureDlg& dlg) {
      EXPECT_EQ(FindItem(dlg.OptionTree(), "ModA"), nullptr);
      EXPECT_EQ(FindItem(dlg.OptionTree(), "ModB"), nullptr);
      EXPECT_NE(FindItem(dlg.OptionTree(), "ModC"), nullptr);
      return int(QDialog::Rejected);
    };
    frame->OnCommand(cmd::ID_CONFIGURE);
    EXPECT_EQ(Documents(app), 2);
  });
}

// A module opened through the real Configure dialog (its own modal loop, closed by OK) fills the
// document area at once, over the module open before, and the area paints again.
TEST_F(ModuleHost, ConfigureOpenedModuleFillsTheDocumentArea) {
  Install({"moda", "modb"}, "0001=Yes,Yes,ModA,Ethernet,ModA.so\n0002=Yes,Yes,ModB,SMX,ModB.so\n");
  RunApp([&](CCorvaneApp& app) {
    CMainFrame* frame = app.GetMainFrame();
    frame->resize(900, 640);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    ASSERT_TRUE(app.OpenModule("0001"));
    QApplication::processEvents();
    frame->ConfigureDialogHook = [](CConfigureDlg& dlg) {
      QTimer::singleShot(0, &dlg, [&dlg] {
        FindItem(dlg.OptionTree(), "ModB")->setCheckState(0, Qt::Checked);
        dlg.accept();
      });
      return dlg.exec();
    };
    EXPECT_TRUE(frame->OnCommand(cmd::ID_CONFIGURE));
    QApplication::processEvents();
    ASSERT_EQ(Documents(app), 2);
    CMDIChildWnd* opened = frame->MDIGetActive();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->windowTitle().toStdString(), "ModB");
    EXPECT_TRUE(opened->isMaximized());
    EXPECT_EQ(opened->size(), frame->MdiArea()->viewport()->size());
    EXPECT_TRUE(frame->MdiArea()->updatesEnabled());
    EXPECT_TRUE(frame->updatesEnabled());
    // Back on the first module's tab, that one fills the area.
    auto* first = qobject_cast<CMDIChildWnd*>(frame->MdiArea()->subWindowList().value(0));
    ASSERT_NE(first, nullptr);
    frame->MDIActivate(first);
    QApplication::processEvents();
    EXPECT_TRUE(first->isMaximized());
    EXPECT_EQ(first->size(), frame->MdiArea()->viewport()->size());
  });
}

}  // namespace
}  // namespace corvane
