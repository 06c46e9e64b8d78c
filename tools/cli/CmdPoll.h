#pragma once
// corvane-cli poll: a read repeated at an interval, as CSV with time stamps.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kPollCommand;

}  // namespace corvane::cli
