#include "app/ui/ApplicationIcon.h"

// The pictures are in a static library: their resource is pulled in by name (outside any namespace).
static void InitApplicationIconResource() { Q_INIT_RESOURCE(corvane_app_icon); }

namespace corvane {

QIcon ApplicationIcon() {
  InitApplicationIconResource();
  // The largest size of the hicolor set is left out: every size goes to the window manager
  // with each window.
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128})
    icon.addFile(QStringLiteral(":/corvane/app/corvane-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace corvane
