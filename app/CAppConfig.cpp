#include "app/CAppConfig.h"

namespace corvane {

std::string SettingsFolder(const std::string& commonAppData) {
  return commonAppData + "/Zelmar Industrial Automation/Communication/Corvane/Config";
}

ConfigPaths FormConfigPaths(const std::string& exeFolder, const std::string& commonAppData) {
  return {exeFolder + "Config/Modules.ini", exeFolder + "Config/About.ini",
          SettingsFolder(commonAppData) + "/CVN.ini"};
}

std::string HelpDocumentFor(int languageId) {
  switch (languageId) {
    case 1028: return "../Help/Corvane_CHT.chm";
    case 2052: return "../Help/Corvane_CHS.chm";
    default: return "../Help/Corvane_ENG.chm";
  }
}

std::string RevisionHistoryFor(int languageId) {
  switch (languageId) {
    case 1028: return "../UserManual/Corvane Revision History-TC.pdf";
    case 2052: return "../UserManual/Corvane Revision History-SC.pdf";
    default: return "../UserManual/Corvane Revision History-EN.pdf";
  }
}

}  // namespace corvane
