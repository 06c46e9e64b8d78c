#include "framework/ui/CPrinting.h"

#include <memory>

#include <QDialog>
#include <QPrinter>

namespace corvane {

QPrinter& AfxGetPrinter() {
  // Made on first use: a printer needs the application object.
  static std::unique_ptr<QPrinter> printer = std::make_unique<QPrinter>();
  return *printer;
}

std::function<int(QDialog&)>& AfxPrintDialogHook() {
  static std::function<int(QDialog&)> hook;
  return hook;
}

int AfxRunPrintDialog(QDialog& dlg) {
  if (const auto& hook = AfxPrintDialogHook()) return hook(dlg);
  return dlg.exec();
}

}  // namespace corvane
