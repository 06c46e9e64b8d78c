// The serial line as a transport: silence before a request counted from the last byte seen,
// requests that have left the line (tcdrain) before the reply is awaited, marked input decoded.
#include <termios.h>
#include <time.h>

#include <algorithm>
#include <cerrno>

#include "libs/portlink/FdIo.h"
#include "libs/portlink/Link.h"

namespace corvane {
namespace {

// A sleep ends up to the timer slack (50 us) late, a tenth of a character at 115200 baud: the
// last stretch is spun instead.
constexpr std::int64_t kSpinUs = 80;

void SleepUntilUs(std::int64_t untilUs) {
  const std::int64_t wakeUs = untilUs - kSpinUs;
  if (wakeUs > fdio::NowUs()) {
    timespec at{static_cast<time_t>(wakeUs / 1000000), static_cast<long>(wakeUs % 1000000) * 1000};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
  }
  while (fdio::NowUs() < untilUs) {
  }
}

const modbus::Framing* SerialFraming(std::optional<ModbusMode> mode) {
  if (!mode) return nullptr;
  return *mode == ModbusMode::Rtu ? &modbus::kRtuFraming : &modbus::kAsciiFraming;
}

void SerialPrepare(Link& link, int silenceTenths) {
  // Bytes nobody read were on the line just now; when is not known, so the silence starts here.
  if (link.line.FlushInput()) link.lastByteUs = fdio::NowUs();
  link.marks.Reset();
  if (silenceTenths > 0) {
    const std::int64_t until = link.lastByteUs + link.line.SilenceUs(silenceTenths);
    if (until > fdio::NowUs()) SleepUntilUs(until);
  }
}

bool SerialSend(Link& link, const std::uint8_t* data, std::size_t n, int timeoutMs) {
  if (!fdio::WriteAll(link.line.Fd(), data, n, timeoutMs, false)) return false;
  while (!link.line.Pseudo() && ::tcdrain(link.line.Fd()) != 0 && errno == EINTR) {
  }
  link.lastByteUs = link.sentUs = fdio::NowUs();
  return true;
}

long SerialRecv(Link& link, std::uint8_t* data, std::uint8_t* bad, std::size_t cap, int timeoutMs) {
  const std::int64_t deadline = fdio::NowMs() + std::max(timeoutMs, 0);
  std::uint8_t raw[512];
  for (;;) {
    const std::int64_t left = std::max<std::int64_t>(0, deadline - fdio::NowMs());
    const long r = fdio::ReadSome(link.line.Fd(), raw, std::min(cap, sizeof raw), static_cast<int>(left));
    if (r <= 0) return r;
    link.lastByteUs = fdio::NowUs();
    const std::size_t k = link.marks.Decode(raw, static_cast<std::size_t>(r), data, bad);
    if (k > 0) return static_cast<long>(k);  // else only the start of a marked byte came yet
  }
}

int SerialWait(Link& link, int timeoutMs) { return fdio::WaitReadable(link.line.Fd(), timeoutMs); }

long SerialWireUs(const Link& link, std::size_t n) { return link.line.CharTimeUs() * static_cast<long>(n); }

}  // namespace

const Transport kSerialTransport{"serial", SerialFraming, SerialPrepare, SerialSend, SerialRecv,
                                 SerialWait, SerialWireUs, 50};

}  // namespace corvane
