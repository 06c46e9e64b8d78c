#pragma once
// What the simulator serves, from the command line and an optional device file.
#include <string>
#include <vector>

#include "tools/devsim/DeviceSpec.h"

namespace corvane::devsim {

enum class SerialMode { Auto, Ascii, Rtu };

struct SimOptions {
  std::vector<DeviceSpec> devices;
  bool pty = true;
  SerialMode mode = SerialMode::Auto;
  std::string linkPath;  // stable symlink to the pty
  int comPort = 0;       // register the pty as COMn when > 0
  int paceBaud = 0;      // > 0: the pty behaves as a line of this speed
  int paceBits = 10;     // bits per character on it (start, data, parity, stop)
  bool tcp = true;
  int tcpPort = 502;
  bool udp = true;
  std::string udpBind = "127.0.0.1";
  int udpPort = 20006;
  bool porthub = false;
  std::string porthubSocket;  // default $XDG_RUNTIME_DIR/PORTHUB
  std::string porthubBind = "127.0.0.1";
  int porthubTcpPort = 0;
  int porthubAnswer = -1;  // report this port instead of the real one
  bool porthubSilent = false;
  std::string globalFault;
  // --stations: the first device served at each of these station addresses, and a unit id
  // reaches only the device of that station (no listener answers every unit).
  std::vector<int> stations;
  bool exactStations = false;
  bool verbose = false;
  bool help = false;

  // Parses argv (without argv[0]); files named by --config are read in place.
  bool Parse(const std::vector<std::string>& args, std::string& error);
  bool LoadFile(const std::string& path, std::string& error);
  // Fills defaults and resolves every device's faults; call once after parsing.
  bool Finish(std::string& error);
  static const char* Usage();

 private:
  int m_depth = 0;
};

}  // namespace corvane::devsim
