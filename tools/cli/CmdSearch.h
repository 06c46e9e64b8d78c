#pragma once
// corvane-cli search: the window's device searches, run by the same code.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kSearchCommand;

}  // namespace corvane::cli
