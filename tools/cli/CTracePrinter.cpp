#include "tools/cli/CTracePrinter.h"

#include <cstdio>

#include "libs/portlink/FdIo.h"

namespace corvane::cli {
namespace {

using trace::Check;
using trace::Framing;

void Field(std::string& text, const std::string& part) { text += (text.empty() ? "" : ", ") + part; }

const char* CheckName(Framing f) {
  switch (f) {
    case Framing::Rtu: return "CRC";
    case Framing::Ascii: return "LRC";
    default: return "length";
  }
}

}  // namespace

CTracePrinter::CTracePrinter(std::ostream& err, bool enabled) : m_err(err), m_enabled(enabled) {
  if (!m_enabled) return;
  m_startUs = fdio::NowUs();
  trace::LinkTrace::AddListener(this);
}

CTracePrinter::~CTracePrinter() {
  if (m_enabled) trace::LinkTrace::RemoveListener(this);
}

std::string CTracePrinter::Describe(const trace::TraceEvent& e) {
  const trace::FrameSummary& s = e.summary;
  std::string text;
  if (s.transaction >= 0) Field(text, (e.framing == Framing::Porthub ? "command " : "transaction ") + std::to_string(s.transaction));
  if (s.station >= 0) Field(text, (e.framing == Framing::Tcp ? "unit " : "station ") + std::to_string(s.station));
  if (s.function >= 0) Field(text, "function " + std::to_string(s.function & 0x7F));
  if (s.exception) Field(text, "exception " + std::to_string(s.exception));
  if (s.address >= 0) Field(text, "address " + std::to_string(s.address));
  if (s.count >= 0) Field(text, "count " + std::to_string(s.count));
  if (s.byteCount >= 0) Field(text, std::to_string(s.byteCount) + " data bytes");
  if (s.check != Check::None) Field(text, std::string(CheckName(e.framing)) + (s.check == Check::Ok ? " ok" : " bad"));
  if (e.failure) Field(text, std::string("failed: ") + trace::LinkTrace::FailureText(e.failure));
  return text;
}

void CTracePrinter::OnTrace(const trace::TraceEvent& e) {
  char head[48];
  const std::int64_t us = e.timeUs - m_startUs;
  std::snprintf(head, sizeof head, "trace %lld.%06lld ", static_cast<long long>(us / 1000000),
                static_cast<long long>(us % 1000000));
  std::string line = head + e.link + " " + trace::LinkTrace::FramingName(e.framing) +
                     (e.direction == trace::Direction::Sent ? " > " : " < ");
  if (e.bytes.empty()) line += "(nothing)";
  for (std::size_t i = 0; i < e.bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", e.bytes[i]);
    line += hex;
  }
  const std::string what = Describe(e);
  m_err << line << (what.empty() ? "" : " | " + what) << "\n" << std::flush;
}

}  // namespace corvane::cli
