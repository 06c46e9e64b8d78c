#pragma once
// corvane-cli write: coils or holding registers of one station.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kWriteCommand;

}  // namespace corvane::cli
