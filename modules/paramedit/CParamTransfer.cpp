#include "modules/paramedit/CParamTransfer.h"

#include <algorithm>
#include <cstdio>

#include "libs/portlink/CPortLink.h"
#include "libs/portlink/ModbusFrame.h"

namespace corvane::paramedit {
namespace {

std::string Hex(unsigned v) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", v & 0xFFFF);
  return text;
}

std::string RangeText(const RegisterRun& run) {
  return run.count == 1 ? Hex(run.start) : Hex(run.start) + ".." + Hex(run.start + run.count - 1u);
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
  out.push_back(static_cast<unsigned char>(v & 0xFF));
}

unsigned Be16(const unsigned char* p) { return static_cast<unsigned>(p[0] << 8 | p[1]); }

// The failure of a transfer for its log line; an exception reply with its code named.
std::string FailureText(const CPortLink& link, int code) {
  std::string text = CParamTransfer::ResultText(code);
  if (code == modbus::kException && link.LastException() > 0) {
    char number[8];
    std::snprintf(number, sizeof number, " %02X", link.LastException() & 0xFF);
    const std::string name = modbus::ExceptionName(link.LastException());
    text += number + (name.empty() ? std::string() : " (" + name + ")");
  }
  return text;
}

}  // namespace

std::vector<RegisterRun> PlanRuns(const std::vector<ParamSpec>& specs, const std::vector<std::size_t>& indices,
                                  std::size_t maxCount) {
  std::vector<std::size_t> sorted;
  for (std::size_t i : indices)
    if (i < specs.size()) sorted.push_back(i);
  std::sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) { return specs[a].address < specs[b].address; });
  std::vector<RegisterRun> runs;
  for (std::size_t i : sorted) {
    const unsigned address = specs[i].address;
    if (!runs.empty() && runs.back().start + runs.back().count == address && runs.back().count < maxCount) {
      ++runs.back().count;
      runs.back().indices.push_back(i);
    } else {
      runs.push_back({static_cast<std::uint16_t>(address), 1, {i}});
    }
  }
  return runs;
}

std::string CParamTransfer::ResultText(int code) {
  switch (code) {
    case -1: return "no answer (time-out)";
    case -2: return "checksum error";
    case -3: return "answer from another station";
    case -4: return "answer to another function";
    case -5: return "exception reply";
    case -6: return "wrong byte count";
    case -7: return "wrong transaction id";
    case -8: return "truncated answer";
    case -9: return "link not open";
    case -10: return "bad request";
    case -11: return "transport error";
    default: return "error " + std::to_string(code);
  }
}

TransferReport CParamTransfer::ReadAll(CParamSet& set) {
  TransferReport report;
  std::vector<std::size_t> all(set.Size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  for (const RegisterRun& run : PlanRuns(set.Specs(), all, kMaxRead)) {
    std::vector<unsigned char> request;
    Put16(request, run.start);
    Put16(request, run.count);
    int sent = m_link.Request(m_type, m_handle, 0, 3, request.data(), static_cast<int>(request.size()));
    unsigned char reply[CPortLink::kBufferSize] = {};
    int function = 0, count = 0;
    const int got = sent > 0 ? m_link.Response(m_type, m_handle, &function, &count, reply) : sent;
    if (got <= 0) {
      report.errors.push_back("reading " + RangeText(run) + " failed: " + FailureText(m_link, got < 0 ? got : m_link.LastResult()));
      continue;
    }
    if (count != run.count * 2) {
      report.errors.push_back("reading " + RangeText(run) + ": " + std::to_string(count) + " bytes instead of " +
                              std::to_string(run.count * 2));
      continue;
    }
    for (std::size_t k = 0; k < run.count; ++k)
      set.SetFromDevice(run.indices[k], static_cast<std::uint16_t>(Be16(reply + 2 * k)));
    report.registers += run.count;
  }
  return report;
}

TransferReport CParamTransfer::WritePending(CParamSet& set) {
  TransferReport report;
  std::vector<std::size_t> pending;
  for (std::size_t i = 0; i < set.Size(); ++i)
    if (set.Pending(i) && !set.Spec(i).readOnly && set.Value(i)) pending.push_back(i);
  for (const RegisterRun& run : PlanRuns(set.Specs(), pending, kMaxWrite)) {
    std::vector<unsigned char> request;
    Put16(request, run.start);
    int function = 6;
    if (run.count == 1) {
      Put16(request, ParamSpec::ToRegister(*set.Value(run.indices[0])));
    } else {
      function = 16;
      Put16(request, run.count);
      request.push_back(static_cast<unsigned char>(run.count * 2));
      for (std::size_t i : run.indices) Put16(request, ParamSpec::ToRegister(*set.Value(i)));
    }
    const int sent = m_link.Request(m_type, m_handle, 0, function, request.data(), static_cast<int>(request.size()));
    unsigned char reply[CPortLink::kBufferSize] = {};
    int replyFunction = 0, count = 0;
    const int got = sent > 0 ? m_link.Response(m_type, m_handle, &replyFunction, &count, reply) : sent;
    if (got <= 0) {
      report.errors.push_back("writing " + RangeText(run) + " failed: " + FailureText(m_link, got < 0 ? got : m_link.LastResult()));
      continue;
    }
    // The echo names the request's first register and its value (6) or count (16).
    if (count < 4 || std::equal(reply, reply + 4, request.begin()) == false) {
      report.errors.push_back("writing " + RangeText(run) + ": the device echoed another request");
      continue;
    }
    for (std::size_t i : run.indices) set.ClearPending(i);
    report.registers += run.count;
  }
  return report;
}

}  // namespace corvane::paramedit
