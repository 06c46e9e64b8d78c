#pragma once
// corvane-cli read: coils, discrete inputs or registers of one station.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kReadCommand;

}  // namespace corvane::cli
