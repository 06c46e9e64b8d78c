#pragma once
// The shell's "open": a program is started directly with an argument vector, anything
// else (documents, web addresses) through xdg-open. Never through a command shell.
// Results keep the platform's convention: above 32 is success, 2 file not found,
// 3 path not found, 5 access denied, 31 no program for the file.
#include <string>
#include <vector>

namespace corvane::platform {

class IProcessStarter {
public:
  virtual ~IProcessStarter() = default;
  // Starts program with args (args[0] is the program) in workingFolder (empty: ours);
  // does not wait for it. Returns 0 or the errno of the failed start.
  virtual int Start(const std::string& program, const std::vector<std::string>& args,
                    const std::string& workingFolder) = 0;
};

// The starter in use (never null); tests install a recording one. Returns the previous one.
IProcessStarter& ProcessStarter();
IProcessStarter* SetProcessStarter(IProcessStarter* starter);

// Splits parameter text the way a Windows program's start-up code does: blanks separate,
// double quotes group and are dropped.
std::vector<std::string> SplitParameters(const std::string& parameters);

int ShellOpen(const std::string& file, const std::string& parameters, const std::string& workingFolder);

// The shell's result for a start that failed with errno error (0: started, 33).
int ShellResultForStartError(int error);

}  // namespace corvane::platform
