#include "tools/cli/CStderrPrompts.h"

#include "tools/cli/CShownText.h"

namespace corvane::cli {

CStderrPrompts::CStderrPrompts(std::ostream& err, const char* command)
    : m_err(err), m_command(command), m_previous(SetPrompts(this)) {}

CStderrPrompts::~CStderrPrompts() { SetPrompts(m_previous); }

int CStderrPrompts::MessageBox(const std::string& text, const std::string& caption, PromptButtons buttons,
                               PromptIcon icon) {
  return MessageBoxWithDetail(text, {}, caption, buttons, icon);
}

int CStderrPrompts::MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string&,
                                         PromptButtons buttons, PromptIcon) {
  std::string line = text;
  for (char& c : line)
    if (c == '\n') c = ' ';
  m_err << "corvane-cli " << m_command << ": " << CShownText::ForTerminal(line);
  if (!detail.empty()) m_err << " (" << CShownText::ForTerminal(detail) << ")";
  m_err << "\n";
  return buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel ? IDNO : IDOK;
}

}  // namespace corvane::cli
