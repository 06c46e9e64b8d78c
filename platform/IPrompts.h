#pragma once
// The one seam for message boxes and file dialogs: the Qt edge installs the real one,
// tests install a recording one and read what the user would have seen.
#include <optional>
#include <string>

namespace corvane {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Warning, Error, Question };

// Results keep the platform's numbers, which callers compare with.
enum PromptResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct FileDialogRequest {
  std::string filter;         // "Corvane Project File (*.cvn)|*.cvn||"
  std::string defaultExt;     // ".cvn"
  bool confirmOverwrite = false;
};

class IPrompts {
public:
  virtual ~IPrompts() = default;
  virtual int MessageBox(const std::string& text, const std::string& caption,
                         PromptButtons buttons, PromptIcon icon) = 0;
  // The same box with the reason of a failure beneath its text, which stays as it is.
  // A seam that shows no reasons shows the plain box.
  virtual int MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string& caption,
                                   PromptButtons buttons, PromptIcon icon) {
    (void)detail;
    return MessageBox(text, caption, buttons, icon);
  }
  // Empty when the user cancels.
  virtual std::optional<std::string> OpenFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
};

// The installed seam; never null (a silent one that answers Cancel stands in until set).
IPrompts& Prompts();
// Installs a seam (not owned); null restores the silent one. Returns the previous one.
IPrompts* SetPrompts(IPrompts* prompts);
// Whether a seam other than the silent one is installed.
bool PromptsInstalled();

}  // namespace corvane
