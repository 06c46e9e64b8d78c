#pragma once
// The real application started from the executable folder of the build (its shipped modules and
// demo catalogue), with settings, registry and runtime files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/IPrompts.h"
#include "tests/support/ScriptedPrompts.h"

class QTableWidget;

namespace corvane {

class CCorvaneApp;
class CDocument;
class CMainFrame;

class ModuleTestEnv : public ::testing::Test {
public:
  void SetUp() override;
  void TearDown() override;

  // CVN.ini's [CommConf] lines.
  void WriteSettings(const std::string& commConf);
  // Runs the application whose program lies in `exeFolder` (the build's by default).
  void RunApp(const std::function<void(CCorvaneApp&, CMainFrame&)>& body, const std::string& exeFolder = CORVANE_BIN_DIR);

  static CDocument* FindDocument(CCorvaneApp& app, const std::string& title);
  static QTableWidget* EditorTable(CDocument* doc);
  // The row of a register in an editor's table, or -1.
  static int RowOf(QTableWidget* table, unsigned address);
  static std::vector<std::string> LogLines(CMainFrame& frame);
  // Closes a module's child window as the user does.
  static void CloseModuleWindow(CDocument* doc);

  std::filesystem::path m_root;
  test::ScriptedPrompts m_prompts;
};

}  // namespace corvane
