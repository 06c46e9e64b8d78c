#pragma once
// The application's printer, shared by print set-up, printing and preview, and the one place
// the framework's print dialogs are run (tests answer them through the hook instead).
#include <functional>

class QDialog;
class QPrinter;

namespace corvane {

QPrinter& AfxGetPrinter();
std::function<int(QDialog&)>& AfxPrintDialogHook();
int AfxRunPrintDialog(QDialog& dlg);

}  // namespace corvane
