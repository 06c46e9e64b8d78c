#include "tools/cli/CScanProgress.h"

#include "tools/cli/CShownText.h"

namespace corvane::cli {

void CScanProgress::Show(const ScanProgress& p, const std::string& setting) {
  if (!m_enabled) return;
  const std::string line = "scan " + CShownText::ForTerminal(setting) + ": station " + std::to_string(p.station) +
                           ", " + std::to_string(p.done) + " of " + std::to_string(p.total) + " asked, " +
                           std::to_string(p.found) + " found";
  if (m_terminal) {
    m_err << "\r\x1b[K" << line << std::flush;
    m_lineOpen = true;
  } else if (p.done > 0 && p.done % 25 == 0) {
    m_err << line << "\n" << std::flush;
  }
}

void CScanProgress::Done(const ScanResult& result) {
  if (!m_enabled) return;
  if (m_lineOpen) m_err << "\r\x1b[K";
  for (const ScanSetting& s : result.settings) {
    m_err << "scan " << CShownText::ForTerminal(s.name) << ": ";
    if (!s.error.empty()) m_err << "not scanned: " << CShownText::ForTerminal(s.error) << "\n";
    else m_err << "done" << (s.garbled ? ", " + std::to_string(s.garbled) + " garbled replies (another speed or format?)" : "") << "\n";
  }
  int found = 0;
  for (const auto& f : result.found) found += f.station > 0;
  m_err << "scan: " << found << " station(s) found" << (result.stopped ? " before the scan was interrupted" : "") << "\n";
}

}  // namespace corvane::cli
