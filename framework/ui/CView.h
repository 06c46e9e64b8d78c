#pragma once
// A view: the widget a child frame shows for its document.
#include <QWidget>

#include "framework/ui/CCmdTarget.h"

namespace corvane {

class CDocument;
class CMDIChildWnd;

class CView : public QWidget, public CCmdTarget {
  Q_OBJECT
public:
  explicit CView(QWidget* parent = nullptr);
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  CMDIChildWnd* GetParentFrame() const;
  virtual void OnInitialUpdate() {}

private:
  friend class CDocument;
  CDocument* m_pDocument = nullptr;
};

}  // namespace corvane
