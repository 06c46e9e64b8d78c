#include "ModuleTestEnv.h"

#include <unistd.h>

#include <fstream>

#include <QTableWidget>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CView.h"
#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/COutputLogModel.h"
#include "tests/support/RunCorvaneApp.h"

namespace corvane {

namespace fs = std::filesystem;

void ModuleTestEnv::SetUp() {
  m_root = fs::temp_directory_path() / ("cvn-shipped-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(m_root);
  fs::create_directories(m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config");
  fs::create_directories(m_root / "home");
  fs::create_directories(m_root / "run");
  fs::permissions(m_root / "run", fs::perms::owner_all);
  setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (m_root / "home").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (m_root / "run").c_str(), 1);
  SetPrompts(&m_prompts);
}

void ModuleTestEnv::TearDown() {
  SetPrompts(nullptr);
  fs::remove_all(m_root);
}

void ModuleTestEnv::WriteSettings(const std::string& commConf) {
  std::ofstream(m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config" / "CVN.ini")
      << "[CommConf]\n" << commConf;
}

void ModuleTestEnv::RunApp(const std::function<void(CCorvaneApp&, CMainFrame&)>& body, const std::string& exeFolder) {
  test::RunCorvaneApp(exeFolder + "/corvane", {}, [&](CCorvaneApp& app) { body(app, *app.GetMainFrame()); });
}

CDocument* ModuleTestEnv::FindDocument(CCorvaneApp& app, const std::string& title) {
  for (CDocument* doc : app.GetDocManager()->DocumentWalk())
    if (doc->GetTitle() == title) return doc;
  return nullptr;
}

QTableWidget* ModuleTestEnv::EditorTable(CDocument* doc) {
  return doc && doc->GetFirstView() ? doc->GetFirstView()->findChild<QTableWidget*>() : nullptr;
}

int ModuleTestEnv::RowOf(QTableWidget* table, unsigned address) {
  const QString text = QString::asprintf("0x%04X", address);
  for (int row = 0; table && row < table->rowCount(); ++row)
    if (table->item(row, 0) && table->item(row, 0)->text() == text) return row;
  return -1;
}

std::vector<std::string> ModuleTestEnv::LogLines(CMainFrame& frame) {
  std::vector<std::string> lines;
  const COutputLogModel* log = frame.Output()->Model();
  for (std::size_t i = 0; i < log->LineCount(); ++i) lines.push_back(log->LineText(i));
  return lines;
}

void ModuleTestEnv::CloseModuleWindow(CDocument* doc) {
  ASSERT_TRUE(doc && doc->GetFirstView() && doc->GetFirstView()->GetParentFrame());
  doc->GetFirstView()->GetParentFrame()->close();
  QCoreApplication::processEvents();
}

}  // namespace corvane
