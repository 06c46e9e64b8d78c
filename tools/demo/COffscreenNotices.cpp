#include "tools/demo/COffscreenNotices.h"

#include <QGuiApplication>

namespace corvane::demo {
namespace {

// The platform's default answers to window calls the demo's frame makes.
constexpr const char* kNotices[] = {
    "This plugin does not support propagateSizeHints()",
    "This plugin does not support raise()",
    "This plugin does not support lower()",
};

QtMessageHandler g_previous = nullptr;

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (COffscreenNotices::IsKnownNotice(type, QGuiApplication::platformName(), text)) return;
  if (g_previous) g_previous(type, context, text);
}

}  // namespace

bool COffscreenNotices::IsKnownNotice(QtMsgType type, const QString& platform, const QString& text) {
  if (type != QtWarningMsg || platform != QLatin1String("offscreen")) return false;
  for (const char* notice : kNotices)
    if (text == QLatin1String(notice)) return true;
  return false;
}

void COffscreenNotices::Install() {
  static const bool installed = (g_previous = qInstallMessageHandler(Filter), true);
  (void)installed;
}

}  // namespace corvane::demo
