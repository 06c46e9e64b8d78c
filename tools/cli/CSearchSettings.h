#pragma once
// The link record a corvane-cli search runs on: CVN.ini's, with the kind of search, the target
// and the link options of the command line applied, as Communication Setting would store them.
#include <string>

#include "comm/CommConf.h"
#include "registers/Checked.h"
#include "tools/cli/CArgs.h"

namespace corvane::cli {

struct SearchSettings {
  std::string kind;        // serial, ip, broadcast, manager
  CommConf conf;
  std::string devicePath;  // a serial device named by its path; ComPortNum then stands for it
  int responseMs = 0;      // 0: the library's default
  std::string Where() const;  // "COM5", "/dev/ttyUSB0", "127.0.0.2", "255.255.255.255", "PORTHUB"
};

class CSearchSettings {
public:
  // The COM number a device path is opened under.
  static constexpr int kPathPort = 1;
  // `kind` empty: CVN.ini's link type decides (Ethernet: ip with an address, else broadcast).
  static Checked<SearchSettings> Make(const CArgs& args, std::string kind, const std::string& target, CommConf conf);
};

}  // namespace corvane::cli
