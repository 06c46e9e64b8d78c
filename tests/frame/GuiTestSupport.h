#pragma once
// Shared pieces of the frame's GUI tests: one QApplication, a temporary settings home,
// and a prompt seam that records what the user would have seen.
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "platform/IPrompts.h"

namespace corvane::test {

void EnsureApplication();

struct PromptRecord {
  std::string text;
  PromptButtons buttons;
  std::string detail;  // the reason beneath the text ("" for none)
};

class RecordingPrompts : public IPrompts {
public:
  RecordingPrompts() { m_previous = SetPrompts(this); }
  ~RecordingPrompts() override { SetPrompts(m_previous); }
  int MessageBox(const std::string& text, const std::string&, PromptButtons buttons, PromptIcon) override {
    shown.push_back({text, buttons, {}});
    return answer;
  }
  int MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string&,
                           PromptButtons buttons, PromptIcon) override {
    shown.push_back({text, buttons, detail});
    return answer;
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }

  std::vector<PromptRecord> shown;
  int answer = IDOK;

private:
  IPrompts* m_previous = nullptr;
};

// PROGRAMDATA and XDG_CONFIG_HOME point into a fresh folder for the object's lifetime.
class TempSettingsHome {
public:
  TempSettingsHome();
  ~TempSettingsHome();

private:
  QTemporaryDir m_dir;
};

}  // namespace corvane::test
