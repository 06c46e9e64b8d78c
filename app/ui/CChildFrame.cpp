#include "app/ui/CChildFrame.h"

#include "framework/FrameMessages.h"
#include "framework/ui/CMDIFrameWnd.h"

namespace corvane {

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {
  setWindowState(Qt::WindowMaximized);
}

void CChildFrame::OnCloseConfirmed() {
  if (CMDIFrameWnd* main = AfxGetMainFrame()) {
    // The frame drops the *active* child from its lists, so this one must be active; a tab's
    // close button can close a window that is not.
    main->MDIActivate(this);
    main->SendMessage(WM_MODULE_CLOSED, 0, 0);
  }
}

}  // namespace corvane
