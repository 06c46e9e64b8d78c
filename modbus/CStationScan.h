#pragma once
// The station scan: every station address of a range asked once, on each line setting in turn
// (speed and format on a serial line; one setting on Modbus TCP). A station that answers, with
// data or with an exception, is there; its identification (function 43/14) is read where it
// gives one. The link is the caller's, behind IScanTarget.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "modbus/CDeviceIdentification.h"
#include "modbus/IModbusClient.h"

namespace corvane {

class IScanTarget {
public:
  virtual ~IScanTarget() = default;
  virtual std::size_t SettingCount() const = 0;
  // "9600 8E1 RTU", or the address of a TCP link.
  virtual std::string SettingName(std::size_t setting) const = 0;
  // Puts the link on the setting; empty when it is ready, else why it is not.
  virtual std::string Select(std::size_t setting) = 0;
  virtual IModbusClient& Client() = 0;
};

struct ScanOptions {
  int first = 1;
  int last = 247;
  bool identify = true;
  // The probe: one holding register at address 0. Any reply proves a station, even an exception.
  std::uint8_t probeFunction = 3;
  std::uint16_t probeAddress = 0;
};

struct FoundStation {
  std::size_t setting = 0;
  int station = 0;
  bool exceptionReply = false;  // the probe was answered with an exception, not with data
  int exception = 0;           // its exception code
  bool identified = false;
  std::vector<DeviceIdObject> identification;
  std::string identificationError;  // why there is none (exception 1: the device has none)
};

struct ScanSetting {
  std::string name;
  std::string error;  // the setting could not be selected
  int garbled = 0;    // replies that were no valid frame for the station (wrong speed or format?)
};

struct ScanProgress {
  std::size_t setting = 0;
  int station = 0;
  int done = 0;  // stations asked so far over all settings
  int total = 0;
  std::size_t found = 0;
};

struct ScanResult {
  std::vector<FoundStation> found;
  std::vector<ScanSetting> settings;
  bool stopped = false;  // the progress callback asked to stop
};

class CStationScan {
public:
  // Called before each station is asked; returning false stops the scan.
  using Progress = std::function<bool(const ScanProgress&)>;

  // Station addresses outside 1..247 are never asked (0 is the broadcast, above 247 reserved).
  static ScanResult Run(IScanTarget& target, const ScanOptions& options, const Progress& progress = {});
  // True when a failed probe still heard something: a frame for someone else, a bad checksum.
  static bool Garbled(int result);
};

}  // namespace corvane
