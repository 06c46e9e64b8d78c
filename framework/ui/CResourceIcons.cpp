#include "framework/ui/CResourceIcons.h"

#include <QString>

static void InitCorvaneIcons() { Q_INIT_RESOURCE(corvane_icons); }

namespace corvane {
namespace {

void EnsureResources() {
  static const bool once = (InitCorvaneIcons(), true);
  (void)once;
}

}  // namespace

QIcon LoadIcon(unsigned id) {
  EnsureResources();
  const QString path = QStringLiteral(":/corvane/icons/icon%1.png").arg(id);
  QPixmap pm(path);
  return pm.isNull() ? QIcon() : QIcon(pm);
}

QPixmap LoadBitmap(unsigned id) {
  EnsureResources();
  return QPixmap(QStringLiteral(":/corvane/icons/bitmap%1.png").arg(id));
}

QIcon LoadNamedIcon(const char* name) {
  EnsureResources();
  QPixmap pm(QStringLiteral(":/corvane/icons/%1.png").arg(QString::fromLatin1(name)));
  return pm.isNull() ? QIcon() : QIcon(pm);
}

}  // namespace corvane
