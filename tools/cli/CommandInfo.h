#pragma once
// One subcommand of corvane-cli: its name, what it does, its options and how to run it.
#include <string>
#include <vector>

#include "tools/cli/CArgs.h"

namespace corvane::cli {

class CCliContext;

struct CommandInfo {
  const char* name;
  const char* synopsis;     // "read [options] [TARGET]"
  const char* summary;      // one line for the command list
  const char* description;  // the paragraph of its --help
  std::vector<OptionSpec> options;  // its own, without the link options
  bool linkOptions;                 // takes the link options too
  int (*run)(CCliContext& context, const std::vector<std::string>& args);

  // Every option it takes, --help last.
  std::vector<OptionSpec> AllOptions() const;
  std::string Help() const;

  // Parses the arguments; false, with `status` set, when the command ends here: bad usage (2,
  // said on the error stream) or --help (0, printed).
  bool Parse(CCliContext& context, const std::vector<std::string>& args, CArgs& parsed, int& status) const;
  // The one positional argument it takes, the target (empty when none); false, with a usage error,
  // when more are given.
  bool OneTarget(CCliContext& context, const CArgs& parsed, std::string& target, int& status) const;
};

// -h, --help and --json, which every subcommand takes.
extern const OptionSpec kHelpOption;
extern const OptionSpec kJsonOption;

}  // namespace corvane::cli
