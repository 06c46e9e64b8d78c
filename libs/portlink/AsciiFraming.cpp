// ASCII: ":", upper-case hex of station, PDU and LRC, CR LF. The reply is read line by line: a
// line's frame starts at its last ":". A line that fails its check (no ":", not hex, wrong LRC,
// a line error) is noise, and the search goes on with the next line, so noise before a reply
// never spoils it.
#include <algorithm>

#include "libs/portlink/Framing.h"

namespace corvane::modbus {
namespace {

int HexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of the frame ":" ... CR LF at f[n] (f[0] is ":"), LRC checked: their count or kChecksum.
int DecodeLine(const std::uint8_t* f, std::size_t n, std::uint8_t* raw) {
  if (n < 3 || f[n - 2] != '\r' || f[n - 1] != '\n') return kChecksum;
  const std::size_t hexLen = n - 3;
  if (hexLen % 2 != 0 || hexLen < 6 || hexLen / 2 > kMaxPdu + 2) return kChecksum;
  const std::size_t rawLen = hexLen / 2;
  for (std::size_t i = 0; i < rawLen; ++i) {
    const int hi = HexDigit(f[1 + 2 * i]), lo = HexDigit(f[2 + 2 * i]);
    if (hi < 0 || lo < 0) return kChecksum;
    raw[i] = static_cast<std::uint8_t>(hi << 4 | lo);
  }
  if (Lrc(raw, rawLen - 1) != raw[rawLen - 1]) return kChecksum;
  return static_cast<int>(rawLen);
}

bool IsEcho(const std::uint8_t* f, std::size_t n, const Expect& e) {
  return !e.request.empty() && e.function != 5 && e.function != 6 && e.function != 8 && n == e.request.size() &&
         std::equal(f, f + n, e.request.begin());
}

Scan ScanAscii(const std::uint8_t* rx, const std::uint8_t* bad, std::size_t n, std::size_t from, const Expect& e,
               bool final) {
  Scan s;
  s.settled = from;
  int lastFailure = 0;
  for (std::size_t pos = from; pos < n;) {
    const std::uint8_t* lf = std::find(rx + pos, rx + n, std::uint8_t{'\n'});
    if (lf == rx + n) break;
    const std::size_t end = static_cast<std::size_t>(lf - rx) + 1;
    std::size_t colon = end - 1;
    while (colon > pos && rx[colon - 1] != ':') --colon;
    if (colon > pos) {  // a line with a frame in it
      const std::size_t start = colon - 1;
      std::uint8_t raw[kMaxPdu + 2];
      const bool clean = std::none_of(bad + start, bad + end, [](std::uint8_t b) { return b; });
      const int r = clean ? DecodeLine(rx + start, end - start, raw) : kChecksum;
      if (r > 0 && !IsEcho(rx + start, end - start, e)) {
        s.state = Scan::kFrame;
        s.offset = start;
        s.length = end - start;
        return s;
      }
      if (r <= 0) lastFailure = r;
    }
    pos = s.settled = end;
  }
  s.need = n + 1;
  s.error = lastFailure ? lastFailure : kTimeout;
  if (final) {
    s.state = Scan::kNone;
    const bool anyBad = std::any_of(bad, bad + n, [](std::uint8_t b) { return b; });
    if (anyBad) s.error = kChecksum;
    else if (!lastFailure) s.error = s.settled < n ? kTruncated : kTimeout;
  }
  return s;
}

std::vector<std::uint8_t> EncodeAsciiRequest(const Expect& e, const std::uint8_t* data, std::size_t n) {
  return EncodeAscii(e.station, e.function, data, n);
}

Unwrapped UnwrapAscii(const std::uint8_t* f, std::size_t n, const Expect& e, std::uint8_t* pdu) {
  Unwrapped u;
  std::uint8_t raw[kMaxPdu + 2];
  const int rawLen = DecodeLine(f, n, raw);
  if (rawLen < 3) return u;
  u.length = rawLen - 2;  // without station and LRC
  std::copy(raw + 1, raw + rawLen - 1, pdu);
  if (raw[0] != e.station) u.mismatch = kStation;
  return u;
}

}  // namespace

const Framing kAsciiFraming{"ASCII", 0, false, EncodeAsciiRequest, ScanAscii, UnwrapAscii};

}  // namespace corvane::modbus
