#include "libs/portlink/Framing.h"

namespace corvane::modbus {

int OpenReply(const Framing& framing, const std::uint8_t* frame, std::size_t n, const Expect& expect,
              std::uint8_t* out, std::size_t cap, ReplyInfo* info) {
  std::uint8_t pdu[kMaxPdu + 2];
  const Unwrapped u = framing.unwrap(frame, n, expect, pdu);
  if (u.length < 1) return u.length < 0 ? u.length : kTruncated;
  int exception = 0;
  const int result = u.mismatch ? u.mismatch
                                : DecodePdu(pdu, static_cast<std::size_t>(u.length), expect.function, out, cap, &exception);
  if (info) {
    info->function = pdu[0];
    info->exception = exception;
  }
  return result;
}

int DecodeReply(const Framing& framing, const std::uint8_t* buf, std::size_t n, const Expect& expect,
                std::uint8_t* out, std::size_t cap, bool final, ReplyInfo* info) {
  const std::vector<std::uint8_t> clean(n, 0);
  const Scan s = framing.scan(buf, clean.data(), n, 0, expect, final);
  if (s.state == Scan::kFrame) return OpenReply(framing, buf + s.offset, s.length, expect, out, cap, info);
  if (s.state == Scan::kMore) return kIncomplete;
  return s.error;
}

int DecodeRtuReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                   std::uint8_t* out, std::size_t cap, bool final) {
  return DecodeReply(kRtuFraming, buf, n, Expect{station, function, 0, {}}, out, cap, final);
}

int DecodeAsciiReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                     std::uint8_t* out, std::size_t cap, bool final) {
  return DecodeReply(kAsciiFraming, buf, n, Expect{station, function, 0, {}}, out, cap, final);
}

}  // namespace corvane::modbus
