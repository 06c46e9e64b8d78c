#pragma once
// The command line of one subcommand: options from a table (short "-a 1" or "-a1", long
// "--station 1" or "--station=1", flags without a value) and the positional arguments. "--" ends
// the options; "-5" or "-1.5" is a value, not an option (no option is a digit).
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

struct OptionSpec {
  char shortName;          // 0: long form only
  const char* longName;
  const char* valueName;   // null: a flag
  const char* help;
};

class CArgs {
public:
  // False with `error` set on an unknown option or a missing value.
  bool Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, std::string& error);

  bool Has(std::string_view longName) const { return m_values.count(std::string(longName)) != 0; }
  // The last value given (an option given twice takes its last value).
  const std::string* Value(std::string_view longName) const;
  const std::vector<std::string>& Positional() const { return m_positional; }

private:
  const OptionSpec* Find(const std::vector<OptionSpec>& specs, std::string_view longName) const;
  const OptionSpec* Find(const std::vector<OptionSpec>& specs, char shortName) const;

  std::map<std::string, std::vector<std::string>> m_values;
  std::vector<std::string> m_positional;
};

// The options part of a help text: one aligned line per option.
std::string OptionHelp(const std::vector<OptionSpec>& specs);

}  // namespace corvane::cli
