#pragma once
// Extracts the executable folder and the argument fields from a Windows-style
// command line: the quoted program path, then one field, or several fields inside
// one pair of double quotes.
#include <string>
#include <vector>

#include "settings/CFieldSplitter.h"

namespace corvane {

class CCommandLine {
public:
  CCommandLine();

  // Rebuilds the command line a Windows process would have been given from argv:
  // program path in double quotes, arguments joined by single spaces, an argument
  // holding a space wrapped in double quotes.
  static std::string FromArgv(const std::vector<std::string>& argv);

  void SetCommandLine(std::string commandLine) { m_strRawCmdLine = std::move(commandLine); }
  void SetAppName(std::string appName) { m_strAppName = std::move(appName); }
  void SetExeSuffix(std::string suffix) { m_strExeSuffix = std::move(suffix); }
  void SetSeparator(const std::string& separator) { m_Splitter.SetSeparator(separator); }

  bool Parse();

  const std::string& GetExeFolder() const { return m_strExeFolder; }
  const std::string& GetArgs() const { return m_strArgs; }
  int GetArgCount() const { return m_nArgCount; }
  const std::string& GetCmdLine() const { return m_strCmdLine; }
  std::string GetField(int index) const { return m_Splitter.GetField(index); }

private:
  std::string m_strRawCmdLine;
  CFieldSplitter m_Splitter;
  std::string m_strExeSuffix;  // empty on Linux: the program file is "corvane"
  std::string m_strCmdLine;
  std::string m_strArgs;
  std::string m_strAppName;
  std::string m_strExeFolder;
  int m_nArgCount = 0;
};

}  // namespace corvane
