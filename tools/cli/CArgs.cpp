#include "tools/cli/CArgs.h"

#include <algorithm>
#include <cctype>

namespace corvane::cli {
namespace {

bool LooksNegativeNumber(std::string_view a) {
  return a.size() >= 2 && a[0] == '-' && (std::isdigit(static_cast<unsigned char>(a[1])) || a[1] == '.');
}

std::string Shown(std::string_view a) {
  constexpr std::size_t kShown = 40;
  return std::string(a.substr(0, kShown)) + (a.size() > kShown ? "..." : "");
}

}  // namespace

const OptionSpec* CArgs::Find(const std::vector<OptionSpec>& specs, std::string_view longName) const {
  for (const OptionSpec& s : specs)
    if (longName == s.longName) return &s;
  return nullptr;
}

const OptionSpec* CArgs::Find(const std::vector<OptionSpec>& specs, char shortName) const {
  for (const OptionSpec& s : specs)
    if (s.shortName != 0 && s.shortName == shortName) return &s;
  return nullptr;
}

bool CArgs::Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, std::string& error) {
  m_values.clear();
  m_positional.clear();
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-' || LooksNegativeNumber(a)) {
      m_positional.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    const OptionSpec* spec = nullptr;
    std::string inlineValue;
    bool hasInline = false;
    if (a[1] == '-') {
      const std::size_t eq = a.find('=');
      spec = Find(specs, std::string_view(a).substr(2, eq == std::string::npos ? std::string::npos : eq - 2));
      if (eq != std::string::npos) {
        inlineValue = a.substr(eq + 1);
        hasInline = true;
      }
    } else {
      spec = Find(specs, a[1]);
      if (a.size() > 2) {
        inlineValue = a.substr(2);
        hasInline = true;
      }
    }
    if (!spec) {
      error = "unknown option " + Shown(a);
      return false;
    }
    if (!spec->valueName) {
      if (hasInline) {
        error = "option --" + std::string(spec->longName) + " takes no value";
        return false;
      }
      m_values[spec->longName].emplace_back();
      continue;
    }
    if (!hasInline) {
      if (i + 1 >= args.size()) {
        error = "option --" + std::string(spec->longName) + " needs a value (" + spec->valueName + ")";
        return false;
      }
      inlineValue = args[++i];
    }
    m_values[spec->longName].push_back(inlineValue);
  }
  return true;
}

const std::string* CArgs::Value(std::string_view longName) const {
  const auto it = m_values.find(std::string(longName));
  return it == m_values.end() || it->second.empty() ? nullptr : &it->second.back();
}

std::string OptionHelp(const std::vector<OptionSpec>& specs) {
  std::vector<std::string> left;
  std::size_t width = 0;
  for (const OptionSpec& s : specs) {
    std::string l = s.shortName ? std::string("-") + s.shortName + ", " : std::string("    ");
    l += "--" + std::string(s.longName);
    if (s.valueName) l += " " + std::string(s.valueName);
    width = std::max(width, l.size());
    left.push_back(std::move(l));
  }
  std::string text;
  for (std::size_t i = 0; i < specs.size(); ++i)
    text += "  " + left[i] + std::string(width - left[i].size() + 2, ' ') + specs[i].help + "\n";
  return text;
}

}  // namespace corvane::cli
