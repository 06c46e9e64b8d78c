#include "libs/portlink/ReplyReader.h"

#include <algorithm>
#include <cstring>

#include "libs/portlink/FdIo.h"
#include "libs/portlink/Link.h"

namespace corvane {
namespace {

constexpr std::size_t kRxCap = 2 * modbus::kMaxAsciiFrame + 64;
// USB adapters hand received bytes over in chunks up to ~16 ms apart: a reply's deadline gets
// this much on top of its wire time.
constexpr long kLineSlackUs = 20000;
// A pause this long ends an RTU reply that is still incomplete: far above an adapter's chunks and
// a busy machine's scheduling, far below the deadline of a long reply on a slow line.
constexpr long kEndGapUs = 100000;

}  // namespace

int ReadReply(Link& link, int responseMs, std::uint8_t* out, std::size_t cap, modbus::ReplyInfo& info, ReplySeen* seen) {
  namespace mb = modbus;
  const mb::Framing& framing = *link.framing;
  const Transport& t = *link.transport;
  std::uint8_t rx[kRxCap], bad[kRxCap];
  std::size_t n = 0, from = 0;
  int failed = 0;  // why the last frame that was looked past failed
  bool closed = false;
  const bool line = t.wireUs(link, 1) > 0;
  const long slackUs = line ? kLineSlackUs + t.wireUs(link, 1) : 0;
  const long gapUs = framing.endsAtSilence ? std::max(kEndGapUs, t.wireUs(link, 35) / 10) : 0;
  const std::int64_t startUs = link.sentUs;
  mb::Scan s;
  for (;;) {
    s = framing.scan(rx, bad, n, from, link.expect, false);
    if (s.state != mb::Scan::kMore) break;
    from = s.settled;
    if (s.error != mb::kTimeout) failed = s.error;
    if (n == kRxCap) {  // keep what may still become a frame, drop the noise before it
      if (from == 0) break;
      std::memmove(rx, rx + from, n - from);
      std::memmove(bad, bad + from, n - from);
      n -= from;
      from = 0;
    }
    const std::int64_t deadlineUs =
        startUs + std::int64_t{responseMs} * 1000 + slackUs + (n ? t.wireUs(link, s.need) : 0);
    std::int64_t waitUs = deadlineUs - fdio::NowUs();
    if (waitUs <= 0) break;
    if (gapUs && n) waitUs = std::min<std::int64_t>(waitUs, gapUs);
    const long r = t.recv(link, rx + n, bad + n, kRxCap - n, static_cast<int>((waitUs + 999) / 1000));
    if (r > 0) {
      n += static_cast<std::size_t>(r);
      continue;
    }
    closed = r < 0;
    break;
  }
  if (s.state == mb::Scan::kMore) s = framing.scan(rx, bad, n, from, link.expect, true);
  if (seen) {
    seen->bytes.assign(rx, rx + n);
    if (s.state == mb::Scan::kFrame) seen->frameAt = s.offset, seen->frameLength = s.length;
  }
  if (s.state == mb::Scan::kFrame) return mb::OpenReply(framing, rx + s.offset, s.length, link.expect, out, cap, &info);
  if (s.error == mb::kTimeout && failed) return failed;
  if (s.error == mb::kTimeout && closed) return mb::kTruncated;
  return s.error;
}

}  // namespace corvane
