#pragma once
// A view: the widget a child frame shows for its document.
#include <QWidget>

#include "framework/ui/CCmdTarget.h"

class QPainter;
class QPrinter;

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
  // Draws the document, on the screen and on printed pages; the default draws nothing.
  virtual void OnDraw(QPainter* pDC) { (void)pDC; }

  // The framework's printing, for a view's map to bind to 57607, 57608 and 57609: the print
  // dialog then the page; the page to the current printer; the preview window.
  void OnFilePrint();
  void OnFilePrintDirect();
  void OnFilePrintPreview();

private:
  // False when the printer cannot start (the user was told).
  bool PrintPage(QPrinter& printer);

  friend class CDocument;
  CDocument* m_pDocument = nullptr;
};

}  // namespace corvane
