#include "tools/cli/CSearchHost.h"

#include <algorithm>
#include <cstdio>

#include "resources/CStringTable.h"

namespace corvane::cli {

FoundModule CSearchHost::Describe(std::uint16_t code) const {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", code);
  FoundModule m{text, {}, {}, false};
  if (const auto entry = m_catalogue.Find(text)) {
    m.name = entry->name;
    m.group = entry->networkType;
    m.opens = entry->AllowedOn(m_commType);
  }
  return m;
}

void CSearchHost::Heard(const HeardCode& heard) {
  const FoundModule module = Describe(heard.code);
  using From = HeardCode::From;
  switch (heard.from) {
    case From::Discovery:
      // On a serial line the discovery reply comes from the device the probes asked, heard
      // before: it names that device (or merely confirms it), not another one.
      if (m_commType == 0 && m_deviceOpen && !m_devices.empty()) {
        FoundDevice& probed = m_devices.back();
        if (probed.module.code.empty()) probed.module = module;
        if (probed.module.code == module.code) return;
      }
      [[fallthrough]];
    case From::Identity:
      m_devices.push_back({module, heard.record, {}});
      m_deviceOpen = heard.from == From::Identity;
      return;
    case From::SubModule:
      // Sub-modules of the serial probe belong to the device that answered it; without an
      // identity they stand as a device of their own station.
      if (!m_deviceOpen) {
        m_devices.push_back({{"", "", "", false}, -1, {}});
        m_deviceOpen = true;
      }
      m_devices.back().subModules.push_back(module);
      return;
    case From::Card: {
      const auto device = std::find_if(m_devices.rbegin(), m_devices.rend(),
                                       [&](const FoundDevice& d) { return d.record == heard.record; });
      if (device != m_devices.rend()) device->subModules.push_back(module);
      return;
    }
  }
}

bool CSearchHost::OpenModule(const std::string& code) {
  const auto entry = m_catalogue.Find(code);
  if (!entry || !entry->AllowedOn(m_commType)) return false;
  if (std::find(m_opened.begin(), m_opened.end(), code) == m_opened.end()) m_opened.push_back(code);
  return true;
}

void CSearchHost::ShowMessage(unsigned stringId) {
  m_messages.push_back(stringId);
  m_err << "corvane-cli search: " << LoadString(stringId) << "\n";
}

void CSearchHost::LogLine(const std::string& text) { m_err << "corvane-cli search: " << text << "\n"; }

void CSearchHost::BeginScanProgress() {
  if (m_progress) m_err << "search: " << LoadString(502).substr(LoadString(502).find_first_not_of('\n')) << "\n";
}

void CSearchHost::ScanProgress(std::size_t done, std::size_t total) {
  if (m_progress && done == total) m_err << "search: " << total << " device(s) asked for their sub-modules\n";
}

}  // namespace corvane::cli
