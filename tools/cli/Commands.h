#pragma once
// Every subcommand of corvane-cli, in the order the help lists them.
#include <vector>

#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

const std::vector<const CommandInfo*>& Commands();
// The whole program: argv without the program name, the streams to write to.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace corvane::cli
