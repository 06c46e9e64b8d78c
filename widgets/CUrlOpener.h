#pragma once
// Opening a link target the way the hyperlink control does: the shell's "open" first, then
// the browser's own command line with the target. Results keep the shell's convention
// (above 32 is success). Every start goes through the process-starter seam, never a shell.
#include <string>

namespace corvane {

class CUrlOpener {
public:
  static int OpenUrl(const std::string& target);

  // The browser's command line: the registry store's ".htm" class command, else $BROWSER,
  // else the desktop's default web browser (mimeapps.list and its desktop entry); empty when
  // none is found. "%1" marks where the target goes.
  static std::string BrowserCommand();
  // Runs command cut at "%1" (quoted or not), then a space and the target.
  static int RunBrowser(const std::string& command, const std::string& target);

  // "Unable to open hyperlink:\n\n" and the text for the shell's result code.
  static std::string ErrorMessage(int code);
  static std::string ErrorText(int code);
};

}  // namespace corvane
