#pragma once
// corvane-cli scan: stations 1 to 247 of a serial line or a Modbus TCP address.
#include "tools/cli/CommandInfo.h"

namespace corvane::cli {

extern const CommandInfo kScanCommand;

}  // namespace corvane::cli
