#pragma once
// Reads a parameter set from a device and writes its pending values back, over an open
// handle of a CPortLink: function 3 per run of adjacent registers (at most 125), function 6
// for a single register and 16 for a run of pending ones (at most 123).
#include <cstdint>
#include <string>
#include <vector>

#include "modules/paramedit/CParamSet.h"

class CPortLink;

namespace corvane::paramedit {

struct RegisterRun {
  std::uint16_t start = 0;
  std::uint16_t count = 0;
  std::vector<std::size_t> indices;  // parameter index per register of the run
  bool operator==(const RegisterRun&) const = default;
};

// Runs of adjacent addresses among the given parameters, in address order, each at most maxCount long.
std::vector<RegisterRun> PlanRuns(const std::vector<ParamSpec>& specs, const std::vector<std::size_t>& indices,
                                  std::size_t maxCount);

struct TransferReport {
  int registers = 0;                // read or written
  std::vector<std::string> errors;  // one line per failed request
  bool Ok() const { return errors.empty(); }
};

class CParamTransfer {
public:
  static constexpr std::size_t kMaxRead = 125;
  static constexpr std::size_t kMaxWrite = 123;

  CParamTransfer(CPortLink& link, int linkType, int handle) : m_link(link), m_type(linkType), m_handle(handle) {}

  TransferReport ReadAll(CParamSet& set);
  // Pending values of writable parameters; each written one stops pending.
  TransferReport WritePending(CParamSet& set);

  // "timeout", "exception", ... for a CPortLink result code.
  static std::string ResultText(int code);

private:
  CPortLink& m_link;
  int m_type;
  int m_handle;
};

}  // namespace corvane::paramedit
