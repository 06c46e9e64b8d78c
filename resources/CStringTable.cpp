#include "resources/CStringTable.h"

#include <algorithm>
#include <array>

#include "resources/CResourceModule.h"

namespace corvane {
namespace {

// Sorted by identifier (checked by the tests); lookups are binary searches.
constexpr std::array kStrings{
    StringEntry{128, CVN_STR("Strings", "Corvane")},
    StringEntry{134, CVN_STR("Strings", "\nSystem\nXPC-PLC\n\n\nCorvane.Document\nXPC-PLC Document")},
    StringEntry{500, CVN_STR("Strings", "Please restart %1 to enable the language setting.")},
    StringEntry{501, CVN_STR("Strings", "Processing...")},
    StringEntry{502, CVN_STR("Strings", "\nModule Searching...")},
    StringEntry{503, CVN_STR("Strings", "Cannot open the specified communication!")},
    StringEntry{504, CVN_STR("Strings", "Device not found! Please check the device connection.")},
    StringEntry{506, CVN_STR("Strings", "Time")},
    StringEntry{507, CVN_STR("Strings", "Description")},
    StringEntry{508, CVN_STR("Strings", "Invalid IP Address! IP address cannot be 0.0.0.0 or 255.255.255.")},
    StringEntry{509, CVN_STR("Strings", "Network Type")},
    StringEntry{510, CVN_STR("Strings", "Ethernet")},
    StringEntry{511, CVN_STR("Strings", "DeviceNet")},
    StringEntry{512, CVN_STR("Strings", "Communication Card")},
    StringEntry{513, CVN_STR("Strings", "SMX")},
    StringEntry{514, CVN_STR("Strings", "Save changes to file?")},
    StringEntry{516, CVN_STR("Strings", "The file is invalid! The project file has been modified!")},
    StringEntry{10701, CVN_STR("Strings", "Show or hide the Standard toolbar\nStandard")},
    StringEntry{10702, CVN_STR("Strings", "Show or hide the Edit toolbar\nEdit")},
    StringEntry{10703, CVN_STR("Strings", "Show or hide the Communication toolbar\nCommunication")},
    StringEntry{10704, CVN_STR("Strings", "Show or hide the Application toolbar\nApplication")},
    StringEntry{10705, CVN_STR("Strings", "Show or hide the Window toolbar\nWindow")},
    StringEntry{15000, CVN_STR("Strings", "Ethernet        ")},
    StringEntry{15001, CVN_STR("Strings", "255.255.255.255        ")},
    StringEntry{15150, CVN_STR("Strings", "Shows or hides workspace window\nWorkspace Window")},
    StringEntry{15151, CVN_STR("Strings", "Shows or hides the output window\nOutput Window")},
    StringEntry{15250, CVN_STR("Strings", "Search module\nSearch")},
    StringEntry{15251, CVN_STR("Strings", "IP Search module\nIP Search")},
    StringEntry{15255, CVN_STR("Strings", "Open Virtual Port\nVirtual Port")},
    StringEntry{15256, CVN_STR("Strings", "Open LadderStudio\nLadderStudio")},
    StringEntry{15257, CVN_STR("Strings", "Open LadderPad\nLadderPad")},
    StringEntry{15258, CVN_STR("Strings", "Open DriveTool\nDriveTool")},
    StringEntry{15259, CVN_STR("Strings", "Open ServoTool\nServoTool")},
    StringEntry{15260, CVN_STR("Strings", "Open CardTool\nCardTool")},
    StringEntry{15300, CVN_STR("Strings", "Communication parameters setting\nCommunication setting")},
    StringEntry{15301, CVN_STR("Strings", "Send a message to the module\nSend Message")},
    StringEntry{15302, CVN_STR("Strings", "Language Setup\nLanguage")},
    StringEntry{15350, CVN_STR("Strings", "Create a new document\nNew")},
    StringEntry{15351, CVN_STR("Strings", "Open an existing document\nOpen")},
    StringEntry{15352, CVN_STR("Strings", "Save the active document\nSave")},
    StringEntry{15353, CVN_STR("Strings", "Save the active document with a new name\nSave As")},
    StringEntry{15400, CVN_STR("Strings", "Corvane User Manual\nManual")},
    StringEntry{15401, CVN_STR("Strings", "Revision History\nHistory")},
    StringEntry{57344, CVN_STR("Strings", "Corvane")},
    StringEntry{57600, CVN_STR("Strings", "Create a new document\nNew")},
    StringEntry{57601, CVN_STR("Strings", "Open an existing document\nOpen")},
    StringEntry{57603, CVN_STR("Strings", "Save the active document\nSave")},
    StringEntry{57606, CVN_STR("Strings", "Change the printer and printing options\nPage Setup")},
    StringEntry{57607, CVN_STR("Strings", "Print the active document\nPrint")},
    StringEntry{57609, CVN_STR("Strings", "Display full pages\nPrint Preview")},
    StringEntry{57616, CVN_STR("Strings", "Open this document")},
    StringEntry{57650, CVN_STR("Strings", "Arrange windows so they overlap\nCascade Windows")},
    StringEntry{57651, CVN_STR("Strings", "Arrange windows as non-overlapping tiles\nTile Windows")},
    StringEntry{57664, CVN_STR("Strings", "Display program information, version number and copyright\nAbout")},
    StringEntry{57665, CVN_STR("Strings", "Quit the application; prompts to save documents\nExit")},
    StringEntry{59393, CVN_STR("Strings", "Show or hide the status bar\nToggle StatusBar")},
};

const StringEntry* Lookup(unsigned id) {
  auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                             [](const StringEntry& e, unsigned v) { return e.id < v; });
  return it != kStrings.end() && it->id == id ? &*it : nullptr;
}

}  // namespace

const char* CStringTable::Find(unsigned id) {
  const StringEntry* e = Lookup(id);
  return e ? e->text : nullptr;
}

std::string CStringTable::LoadString(unsigned id) {
  const char* s = Find(id);
  return s ? TranslateText(kContext, s) : std::string();
}

std::span<const StringEntry> CStringTable::Entries() { return kStrings; }

std::string CStringTable::Prompt(unsigned id) {
  const std::string s = LoadString(id);
  return s.substr(0, s.find('\n'));
}

std::string CStringTable::Tooltip(unsigned id) {
  const std::string s = LoadString(id);
  const auto nl = s.find('\n');
  return nl == std::string::npos ? s : s.substr(nl + 1);
}

}  // namespace corvane
