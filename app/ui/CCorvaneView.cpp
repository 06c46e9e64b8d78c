#include "app/ui/CCorvaneView.h"

#include "framework/CommandIds.h"

namespace corvane {

CCorvaneView::CCorvaneView(QWidget* parent) : CView(parent) {
  MapCommand(cmd::ID_FILE_PRINT, [this] { OnFilePrint(); });
  MapCommand(cmd::ID_FILE_PRINT_DIRECT, [this] { OnFilePrintDirect(); });
  MapCommand(cmd::ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

}  // namespace corvane
