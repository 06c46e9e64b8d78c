#pragma once
// The real message boxes and file dialogs behind the prompt seam.
#include "platform/IPrompts.h"

namespace corvane {

class CQtPrompts final : public IPrompts {
public:
  int MessageBox(const std::string& text, const std::string& caption, PromptButtons buttons,
                 PromptIcon icon) override;
  int MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string& caption,
                           PromptButtons buttons, PromptIcon icon) override;
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;

  // "Corvane Project File (*.cvn)|*.cvn||" as Qt writes filters.
  static std::string QtFilter(const std::string& filter);
};

}  // namespace corvane
