#include "modbus/CStationScan.h"

#include <algorithm>
#include <array>

namespace corvane {

bool CStationScan::Garbled(int result) {
  switch (result) {
    case modbus::kChecksum:
    case modbus::kStation:
    case modbus::kFunction:
    case modbus::kByteCount:
    case modbus::kTransaction:
    case modbus::kTruncated: return true;
    default: return false;
  }
}

ScanResult CStationScan::Run(IScanTarget& target, const ScanOptions& options, const Progress& progress) {
  ScanResult result;
  const int first = std::max(options.first, 1);
  const int last = std::min(options.last, 247);
  const int perSetting = std::max(0, last - first + 1);
  ScanProgress p;
  p.total = perSetting * static_cast<int>(target.SettingCount());
  const std::array<std::uint8_t, 4> probe = {static_cast<std::uint8_t>(options.probeAddress >> 8),
                                             static_cast<std::uint8_t>(options.probeAddress & 0xFF), 0x00, 0x01};
  for (std::size_t s = 0; s < target.SettingCount() && !result.stopped; ++s) {
    ScanSetting& setting = result.settings.emplace_back();
    setting.name = target.SettingName(s);
    setting.error = target.Select(s);
    if (!setting.error.empty()) {
      p.done += perSetting;
      continue;
    }
    for (int station = first; station <= last; ++station) {
      p.setting = s;
      p.station = station;
      p.found = result.found.size();
      if (progress && !progress(p)) {
        result.stopped = true;
        break;
      }
      ++p.done;
      const ModbusAnswer answer = target.Client().Transact(static_cast<std::uint8_t>(station), options.probeFunction, probe);
      if (!answer.Answered()) {
        if (Garbled(answer.result)) ++setting.garbled;
        continue;
      }
      FoundStation& found = result.found.emplace_back();
      found.setting = s;
      found.station = station;
      found.exceptionReply = answer.result <= 0;
      found.exception = found.exceptionReply ? answer.exception : 0;
      if (!options.identify) continue;
      auto id = CDeviceIdentification::Read(target.Client(), static_cast<std::uint8_t>(station));
      found.identified = id.Ok();
      if (id) found.identification = std::move(id.Value());
      else found.identificationError = id.Error();
    }
  }
  return result;
}

}  // namespace corvane
