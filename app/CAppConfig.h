#pragma once
// Where the program's settings files are, and which help documents it opens.
#include <string>

namespace corvane {

struct ConfigPaths {
  std::string modules;   // <exe folder>Config/Modules.ini
  std::string about;     // <exe folder>Config/About.ini
  std::string settings;  // <all-users>/Zelmar Industrial Automation/Communication/Corvane/Config/CVN.ini
};

// The settings folder below the all-users folder (the IP list keeps its file there too).
std::string SettingsFolder(const std::string& commonAppData);

// Plain concatenation, as the folder was given: the start-up creates no folder.
ConfigPaths FormConfigPaths(const std::string& exeFolder, const std::string& commonAppData);

// Relative to the executable folder, chosen by the run's language.
std::string HelpDocumentFor(int languageId);
std::string RevisionHistoryFor(int languageId);

}  // namespace corvane
