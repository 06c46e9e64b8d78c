#pragma once
// --trace: every frame the link sends and receives, and every failed reply, as one line on
// standard error: the time since the command started, the link, the framing, the direction,
// the bytes in hexadecimal and what they say (station, function, counts, checksum, exception).
#include <cstdint>
#include <ostream>

#include "libs/portlink/LinkTrace.h"

namespace corvane::cli {

class CTracePrinter final : public trace::ILinkTraceListener {
public:
  // Listens while it lives when `enabled`.
  CTracePrinter(std::ostream& err, bool enabled);
  ~CTracePrinter() override;
  CTracePrinter(const CTracePrinter&) = delete;
  CTracePrinter& operator=(const CTracePrinter&) = delete;

  void OnTrace(const trace::TraceEvent& event) override;
  // The text after the bytes: "station 1, function 3, address 0, count 10, CRC ok".
  static std::string Describe(const trace::TraceEvent& event);

private:
  std::ostream& m_err;
  bool m_enabled;
  std::int64_t m_startUs = -1;
};

}  // namespace corvane::cli
