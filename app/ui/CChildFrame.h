#pragma once
// The child frame of module and built-in documents: tells the main frame before it closes.
#include "framework/ui/CMDIChildWnd.h"

namespace corvane {

class CChildFrame : public CMDIChildWnd {
  Q_OBJECT
public:
  explicit CChildFrame(QWidget* parent = nullptr);

protected:
  // Only a close that goes ahead tells the frame: one cancelled at the save question keeps
  // the module in the tree and the open-module lists, so a project save still finds it.
  void OnCloseConfirmed() override;
};

}  // namespace corvane
