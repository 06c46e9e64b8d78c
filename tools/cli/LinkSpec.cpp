#include "tools/cli/LinkSpec.h"

namespace corvane::cli {

std::string LinkSpec::Name() const {
  if (kind == Kind::Tcp)
    return std::to_string(ip >> 24) + "." + std::to_string((ip >> 16) & 0xFF) + "." + std::to_string((ip >> 8) & 0xFF) +
           "." + std::to_string(ip & 0xFF) + ":" + std::to_string(tcpPort);
  return comPort > 0 ? "COM" + std::to_string(comPort) : devicePath;
}

std::string LinkSpec::Format() const {
  if (kind == Kind::Tcp) return "Modbus TCP";
  const char parityLetter = parity == 1 ? 'O' : parity == 2 ? 'E' : 'N';
  return std::to_string(baud) + " " + std::to_string(dataBits) + parityLetter + std::to_string(stopBits) +
         (mode == 1 ? " ASCII" : " RTU");
}

}  // namespace corvane::cli
