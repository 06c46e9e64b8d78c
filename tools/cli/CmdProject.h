#pragma once
// corvane-cli project show|check FILE: a project file read by the program's own loader.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kProjectCommand;

}  // namespace corvane::cli
