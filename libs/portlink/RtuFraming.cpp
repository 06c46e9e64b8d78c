// RTU: station, PDU, CRC-16 low byte first. A reply is framed as libmodbus frames it: its length
// comes from the station, function and byte count at the start of what arrived, and the frame is
// taken once that many bytes are there and the check holds. Only after a failed check are the
// bytes searched further, one offset at a time; a frame that never completed is not searched, as
// its data may well hold a CRC-valid window.
#include <algorithm>

#include "libs/portlink/Crc16.h"
#include "libs/portlink/Framing.h"

namespace corvane::modbus {
namespace {

constexpr std::size_t kRtuOverhead = 3;  // station and CRC around the PDU

// Bytes of an RTU reply as far as its first n bytes tell (see PduReplyLength); 0 = impossible.
std::size_t RtuLength(const std::uint8_t* f, std::size_t n) {
  if (n < 1) return kRtuOverhead + 2;
  const std::size_t pdu = PduReplyLength(f + 1, n - 1);
  return pdu == 0 ? 0 : pdu + kRtuOverhead;
}

bool CrcHolds(const std::uint8_t* f, std::size_t len) {
  const std::uint16_t crc = Crc16Modbus(f, len - 2);
  return f[len - 2] == (crc & 0xFF) && f[len - 1] == (crc >> 8);
}

bool Clean(const std::uint8_t* bad, std::size_t len) { return std::none_of(bad, bad + len, [](std::uint8_t b) { return b; }); }

// The replies of 5, 6 and 8 are the request itself: there the first copy is the reply.
bool EchoTold(const Expect& e) { return !e.request.empty() && e.function != 5 && e.function != 6 && e.function != 8; }

// 1: a whole echo of the request at off; 0: the bytes so far may still be one; -1: they are not.
int EchoAt(const std::uint8_t* rx, std::size_t n, std::size_t off, const Expect& e) {
  if (!EchoTold(e)) return -1;
  const std::size_t have = std::min(n - off, e.request.size());
  if (!std::equal(rx + off, rx + off + have, e.request.begin())) return -1;
  return have == e.request.size() ? 1 : 0;
}

// Why nothing usable came, judged by the first candidate after any echo.
int Failure(const std::uint8_t* rx, const std::uint8_t* bad, std::size_t n, const Expect& e) {
  if (!Clean(bad, n)) return kChecksum;
  std::size_t start = 0;
  while (start < n && EchoAt(rx, n, start, e) == 1) start += e.request.size();
  if (start >= n) return kTimeout;
  const std::size_t len = RtuLength(rx + start, n - start);
  if (len > n - start) return kTruncated;
  return kChecksum;
}

Scan ScanRtu(const std::uint8_t* rx, const std::uint8_t* bad, std::size_t n, std::size_t from, const Expect& e,
             bool final) {
  Scan s;
  std::size_t off = from;
  while (off < n) {
    const int echo = EchoAt(rx, n, off, e);
    if (echo == 1) {
      off += e.request.size();
      s.settled = off;
      continue;
    }
    if (echo == 0 && !final) {
      s.need = off + e.request.size();
      s.settled = off;
      return s;
    }
    const std::size_t len = RtuLength(rx + off, n - off);
    if (len > n - off) {
      s.need = off + len;
      s.settled = off;
      if (final) break;
      return s;
    }
    if (len != 0 && len <= n - off && CrcHolds(rx + off, len) && Clean(bad + off, len)) {
      s.state = Scan::kFrame;
      s.offset = off;
      s.length = len;
      return s;
    }
    s.settled = ++off;  // a failed check: the frame starts further on, if at all
  }
  s.need = n + kRtuOverhead + 2;
  if (final) {
    s.state = Scan::kNone;
    s.error = Failure(rx, bad, n, e);
  }
  return s;
}

std::vector<std::uint8_t> EncodeRtuRequest(const Expect& e, const std::uint8_t* data, std::size_t n) {
  return EncodeRtu(e.station, e.function, data, n);
}

Unwrapped UnwrapRtu(const std::uint8_t* f, std::size_t n, const Expect& e, std::uint8_t* pdu) {
  Unwrapped u;
  if (n < kRtuOverhead + 1 || n - kRtuOverhead > kMaxPdu) return u;
  u.length = static_cast<int>(n - kRtuOverhead);
  std::copy(f + 1, f + n - 2, pdu);
  if (f[0] != e.station) u.mismatch = kStation;
  return u;
}

}  // namespace

const Framing kRtuFraming{"RTU", 35, true, EncodeRtuRequest, ScanRtu, UnwrapRtu};

}  // namespace corvane::modbus
