#pragma once
// The exit statuses of corvane-cli, as its manual page lists them.

namespace corvane::cli {

enum ExitStatus : int {
  kExitOk = 0,          // done
  kExitNothing = 1,     // nothing found, no answer, an exception reply, an invalid project
  kExitUsage = 2,       // bad usage: unknown option, a value that does not fit, a file that cannot be read
  kExitLinkFailed = 3,  // the link cannot be opened
};

}  // namespace corvane::cli
