#pragma once
// corvane-cli ports: the port map, and whether this user may open each port.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kPortsCommand;

}  // namespace corvane::cli
