#include "framework/ui/CMDIChildWnd.h"

#include <QCloseEvent>
#include <QMdiArea>

#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"

namespace corvane {

CMDIChildWnd::CMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent) {
  // The tabs carry title and close button; a title bar of its own would only repeat them.
  setWindowFlags(Qt::FramelessWindowHint);
}

CMDIChildWnd::~CMDIChildWnd() = default;

CView* CMDIChildWnd::GetActiveView() const { return qobject_cast<CView*>(widget()); }

CDocument* CMDIChildWnd::GetActiveDocument() const {
  CView* v = GetActiveView();
  return v ? v->GetDocument() : nullptr;
}

void CMDIChildWnd::DetachFromArea() {
  hide();
  if (QMdiArea* area = mdiArea()) area->removeSubWindow(this);
  if (CMDIFrameWnd* main = AfxGetMainFrame()) main->OnDocumentsChanged();
}

void CMDIChildWnd::closeEvent(QCloseEvent* event) {
  CDocument* doc = GetActiveDocument();
  if (!doc) {
    OnCloseConfirmed();
    QMdiSubWindow::closeEvent(event);
    return;
  }
  // The document closes this window itself (deferred delete), so Qt must not close it too.
  event->ignore();
  if (doc->GetViews().size() <= 1 && !doc->SaveModified()) return;
  OnCloseConfirmed();
  if (doc->GetViews().size() <= 1) {
    doc->OnCloseDocument();
  } else {
    CView* v = GetActiveView();
    doc->RemoveView(v);
    DetachFromArea();
    deleteLater();
  }
}

}  // namespace corvane
