#include <vector>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/LinkTrace.h"
#include "libs/portlink/ModbusFrame.h"

// LinkTrace::Summarize: what a frame says of itself, read as far as its bytes go.
namespace corvane::trace {
namespace {

int Be16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }

int Hex(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The fields of a PDU (function code first).
void Pdu(std::span<const std::uint8_t> pdu, bool request, FrameSummary& s) {
  if (pdu.empty()) return;
  const int fn = pdu[0];
  s.function = fn;
  if (fn & 0x80) {
    if (pdu.size() > 1) s.exception = pdu[1];
    return;
  }
  const bool reads = fn == 1 || fn == 2 || fn == 3 || fn == 4 || fn == 0x67;
  const bool writes = fn == 5 || fn == 6 || fn == 15 || fn == 16;
  if ((request && (reads || writes)) || (!request && writes)) {
    if (pdu.size() >= 5) s.address = Be16(&pdu[1]), s.count = Be16(&pdu[3]);
    if (request && (fn == 15 || fn == 16) && pdu.size() >= 6) s.byteCount = pdu[5];
  } else if (!request && reads && pdu.size() >= 2) {
    s.byteCount = pdu[1];
  }
}

// The bytes between ':' and CR LF as binary; empty when they are no hex.
std::vector<std::uint8_t> AsciiBytes(std::span<const std::uint8_t> frame) {
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  while (at < frame.size() && frame[at] != ':') ++at;
  for (++at; at + 1 < frame.size() && frame[at] != '\r' && frame[at] != '\n'; at += 2) {
    const int hi = Hex(frame[at]), lo = Hex(frame[at + 1]);
    if (hi < 0 || lo < 0) return {};
    out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return out;
}

}  // namespace

FrameSummary LinkTrace::Summarize(Framing framing, std::span<const std::uint8_t> b, bool request) {
  FrameSummary s;
  switch (framing) {
    case Framing::Rtu:
      if (b.empty()) break;
      s.station = b[0];
      if (b.size() >= 4) {
        const std::uint16_t crc = Crc16Modbus(b.data(), b.size() - 2);
        s.check = b[b.size() - 2] == (crc & 0xFF) && b[b.size() - 1] == (crc >> 8) ? Check::Ok : Check::Bad;
        Pdu(b.subspan(1, b.size() - 3), request, s);
      } else {
        s.check = Check::Bad;
        Pdu(b.subspan(1), request, s);
      }
      break;
    case Framing::Ascii: {
      const std::vector<std::uint8_t> raw = AsciiBytes(b);
      if (raw.size() < 2) {
        s.check = Check::Bad;
        break;
      }
      s.station = raw[0];
      s.check = modbus::Lrc(raw.data(), raw.size() - 1) == raw.back() ? Check::Ok : Check::Bad;
      Pdu(std::span(raw).subspan(1, raw.size() - 2), request, s);
      break;
    }
    case Framing::Tcp:
      if (b.size() < 7) {
        s.check = b.empty() ? Check::None : Check::Bad;
        break;
      }
      s.transaction = Be16(&b[0]);
      s.station = b[6];
      s.check = Be16(&b[2]) == 0 && static_cast<std::size_t>(Be16(&b[4])) + 6 == b.size() ? Check::Ok : Check::Bad;
      Pdu(b.subspan(7), request, s);
      break;
    case Framing::Porthub:
      if (b.size() < 16) break;
      s.transaction = Be16(&b[2]);
      s.byteCount = Be16(&b[14]);
      s.check = Be16(&b[0]) == 0x5048 && static_cast<std::size_t>(s.byteCount) + 16 == b.size() ? Check::Ok : Check::Bad;
      break;
    case Framing::Raw: break;
  }
  return s;
}

}  // namespace corvane::trace
