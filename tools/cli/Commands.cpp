#include "tools/cli/Commands.h"

#include <algorithm>

#include "tools/cli/CCliContext.h"
#include "tools/cli/CmdPoll.h"
#include "tools/cli/CmdPorts.h"
#include "tools/cli/CmdProject.h"
#include "tools/cli/CmdRead.h"
#include "tools/cli/CmdScan.h"
#include "tools/cli/CmdSearch.h"
#include "tools/cli/CmdWrite.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

std::string Overview() {
  std::string text =
      "Usage: corvane-cli COMMAND [options]\n\n"
      "Corvane's searches, register access and project files from a terminal and from scripts.\n\n"
      "Commands:\n";
  for (const CommandInfo* c : Commands()) {
    std::string name = c->name;
    text += "  " + name + std::string(10 - std::min<std::size_t>(name.size(), 9), ' ') + c->summary + "\n";
  }
  text +=
      "\n'corvane-cli COMMAND --help' tells the options of a command.\n"
      "Exit status: 0 done, 1 nothing found, no answer or an exception reply, 2 bad usage,\n"
      "3 the link cannot be opened.\n";
  return text;
}

const CommandInfo* Find(const std::string& name) {
  for (const CommandInfo* c : Commands())
    if (name == c->name) return c;
  return nullptr;
}

}  // namespace

const std::vector<const CommandInfo*>& Commands() {
  static const std::vector<const CommandInfo*> commands = {&kSearchCommand, &kReadCommand, &kWriteCommand, &kPollCommand,
                                                          &kScanCommand, &kProjectCommand, &kPortsCommand};
  return commands;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << Overview();
    return kExitUsage;
  }
  const std::string& first = args[0];
  if (first == "--help" || first == "-h") {
    out << Overview();
    return kExitOk;
  }
  if (first == "--version") {
    out << "corvane-cli " << CORVANE_VERSION << "\n";
    return kExitOk;
  }
  if (first == "help" && args.size() == 2) {
    if (const CommandInfo* c = Find(args[1])) {
      out << c->Help();
      return kExitOk;
    }
  }
  const CommandInfo* command = Find(first);
  if (!command) {
    err << "corvane-cli: unknown command \"" << first.substr(0, 40) << "\"\n\n" << Overview();
    return kExitUsage;
  }
  CCliContext context(out, err, CCliContext::RunningImageFolder());
  return command->run(context, std::vector<std::string>(args.begin() + 1, args.end()));
}

}  // namespace corvane::cli
