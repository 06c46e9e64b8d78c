#include "framework/ui/CResourceIcons.h"

#include <QString>

static void InitCorvaneIcons() { Q_INIT_RESOURCE(corvane_icons); }

namespace corvane {
namespace {

void EnsureResources() {
  static const bool once = (InitCorvaneIcons(), true);
  (void)once;
}

// The picture and its renditions at twice and three times the size: Qt takes the one that fits
// the screen's scale, so the icon stays sharp where the interface is scaled.
QIcon IconWithRenditions(const QString& base) {
  EnsureResources();
  QIcon icon;
  for (const QString& suffix : {QString(), QStringLiteral("@2x"), QStringLiteral("@3x")}) {
    const QPixmap pm(base + suffix + QStringLiteral(".png"));
    if (!pm.isNull()) icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace

QIcon LoadIcon(unsigned id) { return IconWithRenditions(QStringLiteral(":/corvane/icons/icon%1").arg(id)); }

QPixmap LoadBitmap(unsigned id) {
  EnsureResources();
  return QPixmap(QStringLiteral(":/corvane/icons/bitmap%1.png").arg(id));
}

QIcon LoadNamedIcon(const char* name) {
  return IconWithRenditions(QStringLiteral(":/corvane/icons/%1").arg(QString::fromLatin1(name)));
}

}  // namespace corvane
