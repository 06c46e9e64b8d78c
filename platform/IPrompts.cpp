#include "platform/IPrompts.h"

namespace corvane {
namespace {

class SilentPrompts final : public IPrompts {
public:
  int MessageBox(const std::string&, const std::string&, PromptButtons buttons, PromptIcon) override {
    return buttons == PromptButtons::Ok ? IDOK : IDCANCEL;
  }
  std::optional<std::string> OpenFileName(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return std::nullopt; }
};

SilentPrompts g_silent;
IPrompts* g_prompts = &g_silent;

}  // namespace

IPrompts& Prompts() { return *g_prompts; }

bool PromptsInstalled() { return g_prompts != &g_silent; }

IPrompts* SetPrompts(IPrompts* prompts) {
  IPrompts* previous = g_prompts == &g_silent ? nullptr : g_prompts;
  g_prompts = prompts ? prompts : &g_silent;
  return previous;
}

}  // namespace corvane
