#pragma once
// The built-in view: draws nothing; printing keeps the framework's default preparation.
#include "framework/ui/CView.h"

namespace corvane {

class CCorvaneView : public CView {
  Q_OBJECT
public:
  explicit CCorvaneView(QWidget* parent = nullptr);

  virtual void OnFilePrint() {}
  virtual void OnFilePrintPreview() {}
};

}  // namespace corvane
