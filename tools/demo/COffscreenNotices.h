#pragma once
// Qt's offscreen platform warns about window calls it cannot carry out (raise, size hints);
// in the demo's terminal those lines read as errors between the demo's own. This filter drops
// exactly those known notices on that platform and passes every other message on.
#include <QString>
#include <QtGlobal>

namespace corvane::demo {

class COffscreenNotices {
public:
  // Whether a message is one of the known notices of the offscreen platform.
  static bool IsKnownNotice(QtMsgType type, const QString& platform, const QString& text);
  // Installs the filter in front of the handler in place (once).
  static void Install();
};

}  // namespace corvane::demo
