#include "app/ui/ApplicationIcon.h"

// The pictures are in a static library: their resource is pulled in by name (outside any namespace).
static void InitApplicationIconResource() { Q_INIT_RESOURCE(corvane_app_icon); }

namespace corvane {

QIcon ApplicationIcon() {
  InitApplicationIconResource();
  // Up to 64 pixels: every size is decoded at start and goes to the window manager with each
  // window; desktops take larger pictures from the hicolor theme.
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64})
    icon.addFile(QStringLiteral(":/corvane/app/corvane-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace corvane
