#include "tests/frame/GuiTestSupport.h"

#include <cstdlib>

#include <QApplication>

namespace corvane::test {

void EnsureApplication() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "frame_gui_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

TempSettingsHome::TempSettingsHome() {
  const std::string root = m_dir.path().toStdString();
  setenv("PROGRAMDATA", (root + "/programdata").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
}

TempSettingsHome::~TempSettingsHome() {
  unsetenv("PROGRAMDATA");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace corvane::test
