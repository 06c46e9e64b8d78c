// Every module library the build put beside the executable, loaded through the application's
// real scan and catalogue, opened, listed in the device tree under its group, and closed.
#include <QTableWidget>
#include <QTreeWidget>
#include <fstream>

#include "ModuleTestEnv.h"
#include "app/CModuleCatalogue.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CView.h"
#include "modules/paramedit/CParamFile.h"
#include "app/ui/CProjectCommands.h"
#include "project/CProjectReader.h"
#include "project/IProjectVisitor.h"

#include <map>
#include <span>

namespace corvane {
namespace {

namespace fs = std::filesystem;

using ShippedModules = ModuleTestEnv;

QTreeWidgetItem* GroupItem(CDeviceTreeWnd& tree, const std::string& networkType) {
  if (networkType == "Ethernet") return tree.EthernetItem();
  if (networkType == "Communication Card") return tree.CardItem();
  if (networkType == "SMX") return tree.SmxItem();
  return tree.RootItem();  // DeviceNet and anything else
}

CMDIChildWnd* ChildOf(CDocument* doc) { return doc->GetFirstView()->GetParentFrame(); }

TEST_F(ShippedModules, EveryLibraryLoadsOpensUnderItsGroupAndLeavesWhenClosed) {
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    const std::vector<CatalogueEntry> entries = CModuleCatalogue(app.m_iniModules).Entries();
    ASSERT_EQ(entries.size(), 7u);
    // Every library of the folder that is a module is one of the catalogue's, and each loaded.
    EXPECT_EQ(app.ModuleLibraries().Count(), 7);
    CDeviceTreeWnd& tree = *frame.DeviceTree();
    std::vector<std::string> codes;
    for (const CatalogueEntry& entry : entries) {
      SCOPED_TRACE(entry.code + " " + entry.name);
      codes.push_back(entry.code);
      EXPECT_NE(app.FindTemplateNumber(entry.libraryFile), 0);
      frame.Services()->Conf().CommType = entry.serialUse == "No" ? 1 : 0;
      ASSERT_TRUE(app.OpenModule(entry.code));
      CDocument* doc = FindDocument(app, entry.name);
      ASSERT_NE(doc, nullptr);
      EXPECT_EQ(ChildOf(doc)->windowTitle().toStdString(), entry.name);
      // The editor shows the parameters its description file lists.
      const std::string parFile = std::string(CORVANE_BIN_DIR "/Config/Params/") +
                                  entry.libraryFile.substr(0, entry.libraryFile.size() - 3) + ".par";
      const auto params = paramedit::CParamFile::Load(parFile);
      ASSERT_TRUE(params.Ok()) << params.error;
      QTableWidget* table = EditorTable(doc);
      ASSERT_NE(table, nullptr);
      EXPECT_EQ(table->rowCount(), static_cast<int>(params.params.size()));
      // Its node: under its group (DeviceNet directly under the root), with the module's name.
      QTreeWidgetItem* node = tree.FindNode(ChildOf(doc));
      ASSERT_NE(node, nullptr);
      EXPECT_EQ(node->parent(), GroupItem(tree, entry.networkType));
      EXPECT_EQ(node->text(0).toStdString(), entry.name);
    }
    EXPECT_EQ(app.m_aOpenModuleFiles.GetSize(), 7);
    EXPECT_EQ(tree.RootItem()->childCount(), 4);  // three groups and CP103 (DeviceNet)
    for (const std::string& line : LogLines(frame)) EXPECT_EQ(line.find("refused"), std::string::npos) << line;

    // Closing a window drops its library from both lists and its node; the card titled
    // "QCX-ENT01/02" is found as the library QCX-ENT02.so.
    for (const CatalogueEntry& entry : entries) {
      SCOPED_TRACE(entry.name);
      CDocument* doc = FindDocument(app, entry.name);
      ASSERT_NE(doc, nullptr);
      CMDIChildWnd* child = ChildOf(doc);
      CloseModuleWindow(doc);
      EXPECT_EQ(FindDocument(app, entry.name), nullptr);
      EXPECT_LT(app.m_aOpenModuleFiles.Find(entry.libraryFile), 0);
      EXPECT_LT(app.m_aOpenModuleCodes.Find(entry.code), 0);
      EXPECT_EQ(tree.FindNode(child), nullptr);
    }
    EXPECT_EQ(app.m_aOpenModuleFiles.GetSize(), 0);
    EXPECT_EQ(app.m_aOpenModuleCodes.GetSize(), 0);
    EXPECT_EQ(tree.RootItem()->childCount(), 3);
    for (QTreeWidgetItem* group : {tree.EthernetItem(), tree.CardItem(), tree.SmxItem()}) EXPECT_EQ(group->childCount(), 0);
    // Closed modules can be opened again.
    frame.Services()->Conf().CommType = 0;
    EXPECT_TRUE(app.OpenModule("0022"));
    EXPECT_EQ(tree.CardItem()->childCount(), 1);
  });
}

TEST_F(ShippedModules, TheLinkTypeGatesTheDemoCatalogue) {
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.Services()->Conf().CommType = 0;
    EXPECT_FALSE(app.OpenModule("0405"));  // SD405: Ethernet only
    frame.Services()->Conf().CommType = 1;
    EXPECT_FALSE(app.OpenModule("0103"));  // CP103: serial only
    EXPECT_TRUE(app.OpenModule("0405"));
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 1u);
  });
}

TEST_F(ShippedModules, AModuleBuiltWithTheSdkRunsInTheHost) {
  const fs::path bin = m_root / "bin";
  fs::create_directories(bin / "Config");
  fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", bin / "libBusLink.so");
  fs::create_symlink(SDK_EXAMPLE_MODULE, bin / "example.so");
  std::ofstream(bin / "Config" / "Modules.ini") << "[ModuleCode]\n0099=Yes,Yes,EXAMPLE,SMX,example.so\n";
  RunApp(
      [&](CCorvaneApp& app, CMainFrame& frame) {
        EXPECT_EQ(app.ModuleLibraries().Count(), 1);
        ASSERT_TRUE(app.OpenModule("0099"));
        ASSERT_NE(FindDocument(app, "EXAMPLE"), nullptr);
        frame.Services()->NotifyModulesAfterSearch();
        const auto lines = LogLines(frame);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Example module: search done");
      },
      bin.string());
}


// Records a project file's records as the load hands them over.
class RecordCollector : public IProjectVisitor {
public:
  std::string ModuleNameFor(const std::string& code) override { return code == "0015" ? "AD15" : "EXAMPLE"; }
  void OnRecord(const std::string&, const std::string& name, std::span<const std::uint8_t> data) override {
    records[name] = data.size();
  }
  std::map<std::string, std::size_t> records;
};

TEST_F(ShippedModules, AModuleThatKeepsNoProjectDataSavesAnEmptyRecord) {
  const fs::path bin = m_root / "bin";
  fs::create_directories(bin / "Config" / "Params");
  fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", bin / "libBusLink.so");
  fs::create_symlink(SDK_EXAMPLE_MODULE, bin / "example.so");
  fs::create_symlink(CORVANE_BIN_DIR "/AD15.so", bin / "AD15.so");
  fs::create_symlink(CORVANE_BIN_DIR "/Config/Params/AD15.par", bin / "Config" / "Params" / "AD15.par");
  std::ofstream(bin / "Config" / "Modules.ini")
      << "[ModuleCode]\n0099=Yes,Yes,EXAMPLE,SMX,EXAMPLE.so\n0015=Yes,Yes,AD15,Ethernet,AD15.so\n";
  const std::string project = (m_root / "plant.cvn").string();
  RunApp(
      [&](CCorvaneApp& app, CMainFrame& frame) {
        ASSERT_TRUE(app.OpenModule("0015"));
        ASSERT_TRUE(app.OpenModule("0099"));
        QTableWidget* table = EditorTable(FindDocument(app, "AD15"));
        table->item(RowOf(table, 0x2001), 2)->setText("250");  // the editor has data to keep
        m_prompts.path = project;
        // Twice: whichever document the walk meets first, the example comes after the editor's
        // data once, in the same save or in the next.
        for (int round = 0; round < 2; ++round) {
          SCOPED_TRACE(round);
          frame.Project()->SaveProject();
          RecordCollector collector;
          ASSERT_TRUE(CProjectReader::Load(project, collector).Ok());
          EXPECT_EQ(collector.records["AD15"], 10u);  // "CPE1", a count, one pair
          EXPECT_EQ(collector.records["EXAMPLE"], 0u);
        }
      },
      bin.string());
}

}  // namespace
}  // namespace corvane
