#pragma once
// COMn names for the serial devices of this machine. Explicit entries "COMn" = device path
// under HKEY_LOCAL_MACHINE\SOFTWARE\Zelmar\Corvane\Ports come first and win; the devices
// present get stable defaults: ttyS<k> COM<k+1>, ttyUSB<k> COM<k+17>, ttyACM<k> COM<k+33>
// (k below 16). A ttyS counts only when a UART stands behind it.
#include <optional>
#include <string>
#include <vector>

namespace corvane::platform {

struct SerialPortEntry {
  std::string valueName;  // "\Device\ttyUSB0"
  std::string comName;    // "COM17"
  std::string device;     // "/dev/ttyUSB0"
};

class CSerialPortMap {
public:
  static constexpr const char* kPortsKey = "SOFTWARE\\Zelmar\\Corvane\\Ports";

  // sysRoot/devRoot are "/sys" and "/dev" except in tests.
  explicit CSerialPortMap(std::string sysRoot = "/sys", std::string devRoot = "/dev")
      : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)) {}

  std::vector<SerialPortEntry> Entries() const;
  std::optional<std::string> DeviceForComPort(int n) const;

  // Answers the registry store's SERIALCOMM key from the map of this machine.
  static void InstallAsSystemMap();

private:
  std::string m_sysRoot;
  std::string m_devRoot;
};

}  // namespace corvane::platform
