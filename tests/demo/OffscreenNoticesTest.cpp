#include "tools/demo/COffscreenNotices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>

#include <string>
#include <vector>

namespace corvane::demo {
namespace {

TEST(OffscreenNotices, OnlyTheKnownWarningsOfTheOffscreenPlatform) {
  const struct {
    QtMsgType type;
    const char* platform;
    const char* text;
    bool dropped;
  } rows[] = {
      {QtWarningMsg, "offscreen", "This plugin does not support propagateSizeHints()", true},
      {QtWarningMsg, "offscreen", "This plugin does not support raise()", true},
      {QtWarningMsg, "xcb", "This plugin does not support raise()", false},
      {QtCriticalMsg, "offscreen", "This plugin does not support raise()", false},
      {QtWarningMsg, "offscreen", "This plugin does not support raise() twice", false},
      {QtWarningMsg, "offscreen", "This plugin does not support", false},
      {QtWarningMsg, "offscreen", "QFont::setPointSize: Point size <= 0 (0), must be greater than 0", false},
      {QtWarningMsg, "", "This plugin does not support raise()", false},
  };
  for (const auto& r : rows)
    EXPECT_EQ(COffscreenNotices::IsKnownNotice(r.type, QString::fromLatin1(r.platform), QString::fromLatin1(r.text)),
              r.dropped)
        << r.platform << ": " << r.text;
}

std::vector<std::string> g_seen;
void Record(QtMsgType, const QMessageLogContext&, const QString& text) { g_seen.push_back(text.toStdString()); }

// The frame's own calls raise the notices; other warnings still reach the handler before the filter.
TEST(OffscreenNotices, InstalledFilterPassesEverythingElseOn) {
  int argc = 1;
  char name[] = "demo_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
  const QtMessageHandler before = qInstallMessageHandler(Record);
  COffscreenNotices::Install();
  QMainWindow window;
  window.show();
  window.raise();
  qWarning("a warning of the program's own");
  qInstallMessageHandler(before);
  EXPECT_EQ(g_seen, std::vector<std::string>{"a warning of the program's own"});
}

}  // namespace
}  // namespace corvane::demo
