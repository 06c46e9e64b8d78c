#include "app/ui/CChildFrame.h"

#include "framework/FrameMessages.h"
#include "framework/ui/CMDIFrameWnd.h"

namespace corvane {

// Maximised by the template once it is in the document area: a state set before that takes no
// geometry, and maximising again would then change nothing.
CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {}

void CChildFrame::OnCloseConfirmed() {
  if (CMDIFrameWnd* main = AfxGetMainFrame()) {
    // The frame drops the *active* child from its lists, so this one must be active; a tab's
    // close button can close a window that is not.
    main->MDIActivate(this);
    main->SendMessage(WM_MODULE_CLOSED, 0, 0);
  }
}

}  // namespace corvane
