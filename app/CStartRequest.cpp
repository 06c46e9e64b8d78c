#include "app/CStartRequest.h"

#include "settings/AsciiText.h"

namespace corvane {

StartRequest CStartRequest::Classify(const std::vector<std::string>& argv) {
  if (argv.size() != 2) return {};
  const std::string& argument = argv[1];
  if (argument == "--version") return {StartRequest::Kind::Print, VersionText(), {}};
  if (argument == "--help") return {StartRequest::Kind::Print, HelpText(), {}};
  if (IsProjectPath(argument)) return {StartRequest::Kind::OpenProject, {}, argument};
  return {};
}

bool CStartRequest::IsProjectPath(const std::string& argument) {
  constexpr std::string_view kExtension = ".cvn";
  if (argument.find('/') != std::string::npos) return true;
  return argument.size() > kExtension.size() &&
         ascii::SameNoCase(std::string_view(argument).substr(argument.size() - kExtension.size()), kExtension);
}

std::string CStartRequest::VersionText() { return "Corvane " CORVANE_VERSION "\n"; }

std::string CStartRequest::HelpText() {
  return "Usage: corvane [LANGUAGE]\n"
         "       corvane \"LANGUAGE 0 TYPE PORT-OR-ADDRESS MODULE\"\n"
         "       corvane PROJECT.cvn\n"
         "       corvane --help | --version\n"
         "\n"
         "Corvane, the desktop hub for industrial devices.\n"
         "\n"
         "  LANGUAGE        language identifier for this run only (1033 English,\n"
         "                  1028 Traditional Chinese, 2052 Simplified Chinese)\n"
         "  five fields     in one argument, as a calling program passes them: the\n"
         "                  language, 0, the link type (0 serial, 1 Ethernet), the COM\n"
         "                  port number or the device's IPv4 address, and the module\n"
         "                  code or device identity of the module to open\n"
         "  PROJECT.cvn     a project to open (an argument with a '/' or ending in .cvn);\n"
         "                  a Corvane already running opens it in its window\n"
         "  --help          print this text and end\n"
         "  --version       print the version and end\n"
         "\n"
         "Without an argument the splash window shows for one second, then one more\n"
         "second passes before the main window. See corvane(1).\n";
}

}  // namespace corvane
