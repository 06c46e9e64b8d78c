#pragma once
// The link options every talking subcommand shares, in mbpoll's letters (-m -a -b -d -P -s -p -o),
// and the target (COMn, a device path or an IPv4 address) as an argument. What is not given
// comes from the CommConf section of CVN.ini.
#include <string>
#include <vector>

#include "comm/CommConf.h"
#include "registers/Checked.h"
#include "tools/cli/CArgs.h"
#include "tools/cli/LinkSpec.h"

namespace corvane::cli {

class CLinkOptions {
public:
  static const std::vector<OptionSpec>& Specs();
  // The standard line speeds a serial link takes.
  static const std::vector<int>& Speeds();

  // The link of the options and the target (empty: CVN.ini's link). `conf` is CVN.ini's record.
  static Checked<LinkSpec> Resolve(const CArgs& args, const std::string& target, const CommConf& conf);
  // COMn, a device path ("/..." "./..." "../...") or a dotted IPv4 address with an optional ":port".
  static bool LooksLikeTarget(const std::string& text);

  // Line format "8N1", "7E2"... into the link spec; false with `error` when it is none.
  static bool ParseFormat(const std::string& text, LinkSpec& spec, std::string& error);
  static bool ParseSpeed(const std::string& text, int& baud, std::string& error);
  // -o in milliseconds; 0 when not given.
  static Checked<int> Timeout(const CArgs& args);

private:
  // Station, line, port and time-out options over the link spec; the result checked as a whole.
  static Checked<LinkSpec> ApplyLineOptions(const CArgs& args, LinkSpec spec);
};

}  // namespace corvane::cli
