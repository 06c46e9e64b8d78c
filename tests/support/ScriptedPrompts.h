#pragma once
// The prompt seam for tests: every message (and its reason) is recorded and answered with `answer`; the file
// dialogs give `path` (none by default). Install it with SetPrompts.
#include <optional>
#include <string>
#include <vector>

#include "platform/IPrompts.h"

namespace corvane::test {

class ScriptedPrompts : public IPrompts {
public:
  int MessageBox(const std::string& text, const std::string&, PromptButtons, PromptIcon) override {
    return MessageBoxWithDetail(text, {}, {}, PromptButtons::Ok, PromptIcon::None);
  }
  int MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string&, PromptButtons,
                           PromptIcon) override {
    shown.push_back(text);
    details.push_back(detail);
    return answer;
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest& request) override {
    lastRequest = request;
    return path;
  }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return path; }

  std::vector<std::string> shown;
  std::vector<std::string> details;  // the reason beneath each text ("" for none)
  int answer = IDOK;
  std::optional<std::string> path;
  FileDialogRequest lastRequest;
};

}  // namespace corvane::test
