#pragma once
// The shell's "open": a program is started directly with an argument vector, anything
// else (documents, web addresses) through xdg-open. Never through a command shell.
// Results keep the platform's convention: above 32 is success, 2 file not found,
// 3 path not found, 5 access denied, 31 no program for the file.
#include <optional>
#include <string>
#include <vector>

namespace corvane::platform {

// A start watched for a while: the errno of a failed start, and the exit status when the
// program ended within the wait (none: still running, or not watched).
struct WatchedStart {
  int error = 0;
  std::optional<int> exitStatus;
};

class IProcessStarter {
public:
  virtual ~IProcessStarter() = default;
  // Starts program with args (args[0] is the program) in workingFolder (empty: ours);
  // does not wait for it. Returns 0 or the errno of the failed start.
  virtual int Start(const std::string& program, const std::vector<std::string>& args,
                    const std::string& workingFolder) = 0;
  // Starts like Start, then waits up to waitMs for the program to end, so that an opener that
  // fails at once is told from one that opened something and goes on running. A starter that
  // cannot watch reports the start alone.
  virtual WatchedStart StartWatched(const std::string& program, const std::vector<std::string>& args,
                                    const std::string& workingFolder, int waitMs) {
    (void)waitMs;
    return {Start(program, args, workingFolder), std::nullopt};
  }
};

// How long the shell's "open" waits for xdg-open's verdict before taking it as opened (a browser
// that xdg-open runs in the foreground keeps it running).
inline constexpr int kOpenerWaitMs = 2000;

// The starter in use (never null); tests install a recording one. Returns the previous one.
IProcessStarter& ProcessStarter();
IProcessStarter* SetProcessStarter(IProcessStarter* starter);

// Splits parameter text the way a Windows program's start-up code does: blanks separate,
// double quotes group and are dropped.
std::vector<std::string> SplitParameters(const std::string& parameters);

int ShellOpen(const std::string& file, const std::string& parameters, const std::string& workingFolder);

// The shell's result for a start that failed with errno error (0: started, 33).
int ShellResultForStartError(int error);
// The shell's result for xdg-open's exit status: 0 opened (33), 2 no such file (2), 3 no tool
// and 4 nothing could open it (31), anything else unknown (1).
int ShellResultForOpenerExit(int status);

}  // namespace corvane::platform
