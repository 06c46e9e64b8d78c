#include "tools/cli/CommandInfo.h"

#include "tools/cli/CCliContext.h"
#include "tools/cli/CLinkOptions.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {

const OptionSpec kHelpOption = {'h', "help", nullptr, "show this help and end"};
const OptionSpec kJsonOption = {0, "json", nullptr, "print JSON for scripts instead of a table"};

std::vector<OptionSpec> CommandInfo::AllOptions() const {
  std::vector<OptionSpec> all = options;
  if (linkOptions) all.insert(all.end(), CLinkOptions::Specs().begin(), CLinkOptions::Specs().end());
  all.push_back(kHelpOption);
  return all;
}

std::string CommandInfo::Help() const {
  std::string text = std::string("Usage: corvane-cli ") + synopsis + "\n\n" + description + "\n\nOptions:\n" +
                     OptionHelp(AllOptions());
  if (linkOptions)
    text +=
        "\nTARGET is COMn, a serial device path (/dev/ttyUSB0) or an IPv4 address with an optional :port.\n"
        "Without it, and for every link option not given, the link of CVN.ini is used.\n";
  text += "\nExit status: 0 done, 1 nothing found, no answer or an exception reply, 2 bad usage,\n"
          "3 the link cannot be opened.\n";
  return text;
}

bool CommandInfo::Parse(CCliContext& context, const std::vector<std::string>& args, CArgs& parsed, int& status) const {
  std::string error;
  if (!parsed.Parse(args, AllOptions(), error)) {
    status = context.UsageError(*this, error);
    return false;
  }
  if (parsed.Has("help")) {
    context.out << Help();
    status = kExitOk;
    return false;
  }
  return true;
}

bool CommandInfo::OneTarget(CCliContext& context, const CArgs& parsed, std::string& target, int& status) const {
  const auto& pos = parsed.Positional();
  if (pos.size() > 1) {
    status = context.UsageError(*this, "unexpected argument \"" + pos[1].substr(0, 40) + "\"");
    return false;
  }
  target = pos.empty() ? std::string() : pos.front();
  return true;
}

}  // namespace corvane::cli
