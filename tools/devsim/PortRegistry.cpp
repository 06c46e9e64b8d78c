#include "tools/devsim/PortRegistry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace corvane::devsim {

namespace {
constexpr const char* kKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zelmar\\Corvane\\Ports]";
constexpr std::size_t kMaxStore = 16 * 1024 * 1024;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}
std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}
std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}
bool MakeDirs(const std::string& dir) {
  std::string partial;
  for (std::size_t i = 0; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') {
      if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    if (i < dir.size()) partial += dir[i];
  }
  return true;
}
}  // namespace

std::string PortRegistry::StorePath() {
  const char* pd = std::getenv("PROGRAMDATA");
  const std::string base = (pd && *pd) ? pd : "/var/lib";
  return base + "/Zelmar Industrial Automation/system.reg";
}

bool PortRegistry::Write(int comPort, const std::optional<std::string>& path, std::string& error) {
  const std::string file = StorePath();
  std::string text;
  {
    std::ifstream in(file, std::ios::binary);
    if (in) {
      std::ostringstream ss;
      ss << in.rdbuf();
      text = ss.str();
      if (text.size() > kMaxStore) return error = "registry store too large", false;
    }
  }
  const bool crlf = text.find("\r\n") != std::string::npos;
  std::vector<std::string> lines;
  {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      lines.push_back(l);
    }
  }
  if (lines.empty()) lines = {"REGEDIT4", ""};

  const std::string name = "\"com" + std::to_string(comPort) + "\"";
  const std::string valueLine = "\"COM" + std::to_string(comPort) + "\"=" + (path ? Quote(*path) : "");
  std::size_t header = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (Lower(Trim(lines[i])) == Lower(kKey)) header = i;
  if (header == lines.size()) {
    if (path) {
      if (!lines.back().empty()) lines.push_back("");
      lines.push_back(kKey);
      lines.push_back(valueLine);
    }
  } else {
    std::size_t end = header + 1;
    while (end < lines.size() && Trim(lines[end]).rfind('[', 0) != 0) ++end;
    std::size_t found = end;
    for (std::size_t i = header + 1; i < end; ++i) {
      const std::string t = Lower(Trim(lines[i]));
      if (t.rfind(name, 0) == 0 && Trim(t.substr(name.size())).rfind('=', 0) == 0) found = i;
    }
    if (found != end) {
      if (path) lines[found] = valueLine;
      else lines.erase(lines.begin() + static_cast<long>(found));
    } else if (path) {
      std::size_t at = end;
      while (at > header + 1 && Trim(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<long>(at), valueLine);
    }
  }

  const auto slash = file.rfind('/');
  if (slash != std::string::npos && !MakeDirs(file.substr(0, slash))) return error = "cannot create folder", false;
  const std::string tmp = file + ".devsim." + std::to_string(::getpid());
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    for (const std::string& l : lines) out << l << (crlf ? "\r\n" : "\n");
    out.flush();
    if (!out) {
      std::remove(tmp.c_str());
      return error = "cannot write " + tmp, false;
    }
  }
  if (std::rename(tmp.c_str(), file.c_str()) != 0) {
    std::remove(tmp.c_str());
    return error = "cannot replace " + file, false;
  }
  return true;
}

}  // namespace corvane::devsim
