// TCP: the MBAP header (transaction id, protocol 0, length, unit) and the PDU. A reply is framed
// by the length its header announces.
#include <algorithm>

#include "libs/portlink/Framing.h"

namespace corvane::modbus {
namespace {

constexpr std::size_t kMbap = 7;

Scan ScanTcp(const std::uint8_t* rx, const std::uint8_t*, std::size_t n, std::size_t, const Expect&, bool final) {
  Scan s;
  s.need = kMbap;
  if (n >= kMbap) {
    const int pdu = MbapPduLength(rx);
    if (pdu < 0) {
      s.state = Scan::kNone;
      s.error = pdu;
      return s;
    }
    s.need = kMbap + static_cast<std::size_t>(pdu);
    if (n >= s.need) {
      s.state = Scan::kFrame;
      s.length = s.need;
      return s;
    }
  }
  if (final) {
    s.state = Scan::kNone;
    s.error = n == 0 ? kTimeout : kTruncated;
  }
  return s;
}

std::vector<std::uint8_t> EncodeTcpRequest(const Expect& e, const std::uint8_t* data, std::size_t n) {
  return EncodeTcp(e.transaction, e.station, e.function, data, n);
}

Unwrapped UnwrapTcp(const std::uint8_t* f, std::size_t n, const Expect& e, std::uint8_t* pdu) {
  Unwrapped u;
  if (n <= kMbap || n - kMbap > kMaxPdu) return u;
  u.length = static_cast<int>(n - kMbap);
  std::copy(f + kMbap, f + n, pdu);
  if (!MbapMatches(f, e.transaction)) u.mismatch = kTransaction;
  else if (f[6] != e.station) u.mismatch = kStation;
  return u;
}

}  // namespace

const Framing kTcpFraming{"TCP", 0, false, EncodeTcpRequest, ScanTcp, UnwrapTcp};

}  // namespace corvane::modbus
