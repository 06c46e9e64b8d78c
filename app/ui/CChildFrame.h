#pragma once
// The child frame of module and built-in documents: tells the main frame before it closes.
#include "framework/ui/CMDIChildWnd.h"

namespace corvane {

class CChildFrame : public CMDIChildWnd {
  Q_OBJECT
public:
  explicit CChildFrame(QWidget* parent = nullptr);

protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace corvane
