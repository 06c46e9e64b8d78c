#include "tools/cli/CommandInfo.h"

#include "tools/cli/CLinkOptions.h"

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

}  // namespace corvane::cli
