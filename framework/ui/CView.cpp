#include "framework/ui/CView.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CPrinting.h"
#include "platform/IPrompts.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"

namespace corvane {

CView::CView(QWidget* parent) : QWidget(parent) {}

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

CMDIChildWnd* CView::GetParentFrame() const {
  for (QWidget* w = parentWidget(); w; w = w->parentWidget())
    if (auto* f = qobject_cast<CMDIChildWnd*>(w)) return f;
  return nullptr;
}

bool CView::PrintPage(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    Prompts().MessageBox(TranslateText("Framework", CVN_STR("Framework", "Failed to start print job.")),
                         LoadString(57344), PromptButtons::Ok, PromptIcon::Error);
    return false;
  }
  OnDraw(&painter);
  return painter.end();
}

void CView::OnFilePrint() {
  QPrinter& printer = AfxGetPrinter();
  QPrintDialog dlg(&printer, this);
  if (AfxRunPrintDialog(dlg) == QDialog::Accepted) PrintPage(printer);
}

void CView::OnFilePrintDirect() { PrintPage(AfxGetPrinter()); }

void CView::OnFilePrintPreview() {
  QPrintPreviewDialog dlg(&AfxGetPrinter(), this);
  connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    QPainter painter(printer);
    OnDraw(&painter);
  });
  AfxRunPrintDialog(dlg);
}

}  // namespace corvane
