#pragma once
// The search's frame for corvane-cli: the codes it hears grouped into devices (a device code
// with its address, the sub-modules after it), each named from the module catalogue; messages
// and the log line on standard error; progress of the device queries too.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/CModuleCatalogue.h"
#include "discovery/CDeviceSearch.h"

namespace corvane::cli {

struct FoundModule {
  std::string code;      // "0015"
  std::string name;      // from the catalogue, empty when it has none
  std::string group;     // the catalogue's network type
  bool opens = false;    // the window would open its module on this link type
};

struct FoundDevice {
  FoundModule module;
  std::ptrdiff_t record = -1;  // discovery reply record, -1 for the serial Modbus probe
  std::vector<FoundModule> subModules;
};

class CSearchHost final : public ISearchHost {
public:
  CSearchHost(const CModuleCatalogue& catalogue, int commType, std::ostream& err, bool progress)
      : m_catalogue(catalogue), m_commType(commType), m_err(err), m_progress(progress) {}

  void PrepareSearch() override {}
  bool OpenModule(const std::string& code) override;
  void ShowMessage(unsigned stringId) override;
  void LogLine(const std::string& text) override;
  void BeginScanProgress() override;
  void EndScanProgress() override {}
  void ScanProgress(std::size_t done, std::size_t total) override;
  void Heard(const HeardCode& heard) override;

  const std::vector<FoundDevice>& Devices() const { return m_devices; }
  const std::vector<unsigned>& Messages() const { return m_messages; }
  // The module codes the window would open, in its order, each once.
  std::vector<std::string> Opened() const { return m_opened; }

private:
  FoundModule Describe(std::uint16_t code) const;

  const CModuleCatalogue& m_catalogue;
  int m_commType;
  std::ostream& m_err;
  bool m_progress;
  std::vector<FoundDevice> m_devices;
  std::vector<unsigned> m_messages;
  std::vector<std::string> m_opened;
  bool m_deviceOpen = false;  // a Modbus-probed device takes the sub-modules that follow it
};

}  // namespace corvane::cli
