#include "app/CCommandLine.h"

#include <algorithm>
#include <cctype>

namespace corvane {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The program's file name as a whole name: after '/' or at the start, and followed by
// the end, a quote or a space. A folder that merely contains the name does not count.
long FindProgramName(const std::string& text, const std::string& key) {
  if (key.empty()) return -1;
  for (std::size_t pos = text.find(key); pos != std::string::npos; pos = text.find(key, pos + 1)) {
    const bool startOk = pos == 0 || text[pos - 1] == '/';
    const std::size_t end = pos + key.size();
    const bool endOk = end == text.size() || text[end] == '"' || text[end] == ' ';
    if (startOk && endOk) return static_cast<long>(pos);
  }
  return -1;
}

}  // namespace

CCommandLine::CCommandLine() : m_Splitter(","), m_strAppName("Corvane") {}

std::string CCommandLine::FromArgv(const std::vector<std::string>& argv) {
  std::string line;
  if (argv.empty()) return line;
  line = '"' + argv[0] + '"';
  for (std::size_t i = 1; i < argv.size(); ++i) {
    line += ' ';
    if (argv[i].find(' ') != std::string::npos)
      line += '"' + argv[i] + '"';
    else
      line += argv[i];
  }
  return line;
}

bool CCommandLine::Parse() {
  m_strArgs.clear();
  m_nArgCount = 0;

  std::size_t first = m_strRawCmdLine.find_first_not_of('"');
  if (first == std::string::npos) {
    m_strCmdLine.clear();
  } else {
    std::size_t last = m_strRawCmdLine.find_last_not_of('"');
    m_strCmdLine = m_strRawCmdLine.substr(first, last - first + 1);
  }

  const std::string key = Lower(m_strAppName + m_strExeSuffix);
  const std::string search = Lower(m_strCmdLine);
  const long p = FindProgramName(search, key);
  m_strExeFolder = p > 0 ? m_strCmdLine.substr(0, static_cast<std::size_t>(p)) : std::string();
  const long e = p + static_cast<long>(key.size());

  const std::size_t qpos = m_strCmdLine.rfind('"');
  const long q = qpos == std::string::npos ? -1 : static_cast<long>(qpos);
  bool found = false;
  if (q >= 0 && q > e) {
    m_strArgs = m_strCmdLine.substr(static_cast<std::size_t>(q) + 1);
    found = true;
  } else {
    const std::size_t spos = m_strCmdLine.rfind(' ');
    const long s = spos == std::string::npos ? -1 : static_cast<long>(spos);
    if (s >= 0 && s > e && q >= 0 && q == s - 1) {
      m_strArgs = m_strCmdLine.substr(static_cast<std::size_t>(s) + 1);
      found = true;
    }
  }
  if (!found) return false;
  m_Splitter.SetString(m_strArgs);
  m_nArgCount = m_Splitter.GetCount();
  return true;
}

}  // namespace corvane
