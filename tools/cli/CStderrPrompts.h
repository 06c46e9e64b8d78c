#pragma once
// The message boxes of the core, for a program without windows: each text (and the reason
// beneath it) becomes a line on standard error, answered with OK; file dialogs are cancelled.
#include <ostream>

#include "platform/IPrompts.h"

namespace corvane::cli {

class CStderrPrompts final : public IPrompts {
public:
  CStderrPrompts(std::ostream& err, const char* command);
  ~CStderrPrompts() override;
  CStderrPrompts(const CStderrPrompts&) = delete;
  CStderrPrompts& operator=(const CStderrPrompts&) = delete;

  int MessageBox(const std::string& text, const std::string& caption, PromptButtons buttons, PromptIcon icon) override;
  int MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string& caption,
                           PromptButtons buttons, PromptIcon icon) override;
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }

private:
  std::ostream& m_err;
  const char* m_command;
  IPrompts* m_previous;
};

}  // namespace corvane::cli
