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

class QTableWidget;

namespace corvane {

class CCorvaneApp;
class CDocument;
class CMainFrame;

class RecordingPrompts : public IPrompts {
public:
  int MessageBox(const std::string& text, const std::string&, PromptButtons, PromptIcon) override {
    shown.push_back(text);
    return answer;
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return path; }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return path; }
  std::vector<std::string> shown;
  int answer = IDOK;
  std::optional<std::string> path;
};

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
  RecordingPrompts m_prompts;
};

}  // namespace corvane
