#pragma once
// The built-in view: draws nothing; printing and preview are the framework's.
#include "framework/ui/CView.h"

namespace corvane {

class CCorvaneView : public CView {
  Q_OBJECT
public:
  explicit CCorvaneView(QWidget* parent = nullptr);
};

}  // namespace corvane
