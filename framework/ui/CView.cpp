#include "framework/ui/CView.h"

#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"

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

}  // namespace corvane
