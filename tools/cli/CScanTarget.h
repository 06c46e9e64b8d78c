#pragma once
// The scan's view of a corvane-cli link: each line setting (speed and format of a serial line, or
// the one TCP connection) selected by opening the link with it.
#include <vector>

#include "modbus/CStationScan.h"
#include "tools/cli/CCliLink.h"

namespace corvane::cli {

class CScanTarget final : public IScanTarget {
public:
  // `settings` are the link's spec with each speed and format; one entry for a TCP link.
  CScanTarget(CCliLink& link, std::vector<LinkSpec> settings) : m_link(link), m_settings(std::move(settings)) {}

  std::size_t SettingCount() const override { return m_settings.size(); }
  std::string SettingName(std::size_t setting) const override;
  std::string Select(std::size_t setting) override;
  IModbusClient& Client() override { return m_link.Client(); }

private:
  CCliLink& m_link;
  std::vector<LinkSpec> m_settings;
};

}  // namespace corvane::cli
