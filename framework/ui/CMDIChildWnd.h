#pragma once
// A document window inside the frame's tabbed MDI area; always maximised.
#include <QMdiSubWindow>

#include "framework/ui/CCmdTarget.h"

namespace corvane {

class CDocument;
class CView;

class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
  Q_OBJECT
public:
  explicit CMDIChildWnd(QWidget* parent = nullptr);
  ~CMDIChildWnd() override;

  CView* GetActiveView() const;
  CDocument* GetActiveDocument() const;
  // Takes the window out of the MDI area and hides it (before a deferred delete).
  void DetachFromArea();

protected:
  // Offers the document for saving when this is its last window, then closes the document.
  void closeEvent(QCloseEvent* event) override;
  // Runs once the close goes ahead (the save question, if any, was not cancelled), while the
  // window is still there.
  virtual void OnCloseConfirmed() {}
};

}  // namespace corvane
