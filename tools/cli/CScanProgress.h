#pragma once
// The scan's progress on standard error: one line rewritten in place on a terminal, a line
// every 25 stations otherwise (a log keeps them), and a closing line per setting.
#include <ostream>
#include <string>

#include "modbus/CStationScan.h"

namespace corvane::cli {

class CScanProgress {
public:
  CScanProgress(std::ostream& err, bool enabled, bool terminal) : m_err(err), m_enabled(enabled), m_terminal(terminal) {}
  void Show(const ScanProgress& p, const std::string& setting);
  void Done(const ScanResult& result);

private:
  std::ostream& m_err;
  bool m_enabled;
  bool m_terminal;
  bool m_lineOpen = false;
};

}  // namespace corvane::cli
