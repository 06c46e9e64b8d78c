#include "app/CAppConfig.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(AppConfig, PathsArePlainConcatenations) {
  const ConfigPaths p = FormConfigPaths("/opt/zelmar/bin/", "/var/lib");
  EXPECT_EQ(p.modules, "/opt/zelmar/bin/Config/Modules.ini");
  EXPECT_EQ(p.about, "/opt/zelmar/bin/Config/About.ini");
  EXPECT_EQ(p.settings, "/var/lib/Zelmar Industrial Automation/Communication/Corvane/Config/CVN.ini");
  // An empty executable folder makes the module and About paths relative to the current directory.
  EXPECT_EQ(FormConfigPaths("", "/x").modules, "Config/Modules.ini");
}

TEST(AppConfig, HelpDocumentsByLanguage) {
  struct Row { int lang; const char* help; const char* history; };
  const Row rows[] = {
      {1028, "../Help/Corvane_CHT.chm", "../UserManual/Corvane Revision History-TC.pdf"},
      {2052, "../Help/Corvane_CHS.chm", "../UserManual/Corvane Revision History-SC.pdf"},
      {1033, "../Help/Corvane_ENG.chm", "../UserManual/Corvane Revision History-EN.pdf"},
      {3076, "../Help/Corvane_ENG.chm", "../UserManual/Corvane Revision History-EN.pdf"},
      {0, "../Help/Corvane_ENG.chm", "../UserManual/Corvane Revision History-EN.pdf"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(HelpDocumentFor(r.lang), r.help) << r.lang;
    EXPECT_EQ(RevisionHistoryFor(r.lang), r.history) << r.lang;
  }
}

}  // namespace
}  // namespace corvane
