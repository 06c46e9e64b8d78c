#pragma once
// COMn names for the serial devices of this machine: every device the kernel lists
// (/sys/class/tty/<name>/device; a ttyS only when a UART stands behind it), any number of each.
// - Explicit entries "COMn" = device path under HKEY_LOCAL_MACHINE\SOFTWARE\Zelmar\Corvane\Ports
//   come first and win; the device they name is not listed a second time.
// - A device with a stable name in /dev/serial/by-id (a USB adapter) keeps the number recorded
//   for that name the first time it was seen (Ports\ById, "<by-id name>" = "COMn"), wherever and
//   in whatever order it is plugged in; a recorded number stays reserved while it is unplugged.
//   The record is machine-wide; a user who may not write the machine's file keeps it in their
//   own registry (the machine's records win).
// - The others, and a by-id device seen for the first time, take their family's number when it
//   is free (ttyS<k> COM<k+1>, ttyUSB<k> COM<k+17>, ttyACM<k> COM<k+33>), else the lowest free
//   number from COM17 on (from COM1 for ttyS).
#include <optional>
#include <string>
#include <vector>

namespace corvane::platform {

struct SerialPortEntry {
  std::string valueName;    // "\Device\ttyUSB0"
  std::string comName;      // "COM17"
  std::string device;       // "/dev/ttyUSB0"
  std::string description;  // which device it is: its by-id name, else driver and path
  std::string byId;         // its name in /dev/serial/by-id, "" when it has none
  std::string driver;       // the kernel driver behind it ("ftdi_sio"), "" when none is linked
};

class CSerialPortMap {
public:
  static constexpr const char* kPortsKey = "SOFTWARE\\Zelmar\\Corvane\\Ports";
  static constexpr const char* kByIdKey = "SOFTWARE\\Zelmar\\Corvane\\Ports\\ById";
  static constexpr int kMaxComNumber = 9999;

  // sysRoot/devRoot are "/sys" and "/dev" except in tests.
  explicit CSerialPortMap(std::string sysRoot = "/sys", std::string devRoot = "/dev")
      : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)) {}

  // In COM number order. Records the numbers of by-id devices seen for the first time.
  std::vector<SerialPortEntry> Entries() const;
  std::optional<SerialPortEntry> Find(int n) const;
  std::optional<std::string> DeviceForComPort(int n) const;

  // Answers the registry store's SERIALCOMM key from the map of this machine.
  static void InstallAsSystemMap();

private:
  std::string m_sysRoot;
  std::string m_devRoot;
};

}  // namespace corvane::platform
