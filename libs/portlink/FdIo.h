#pragma once
// Bounded-time reads and writes on non-blocking descriptors (serial lines and sockets alike).
#include <cstddef>
#include <cstdint>

namespace corvane::fdio {

// Result of ReadSome: >0 bytes read, kTimedOut, kClosed (peer closed / EOF), kFailed.
constexpr long kTimedOut = 0;
constexpr long kClosed = -2;
constexpr long kFailed = -1;

// Waits up to timeoutMs for the descriptor to become readable: 1 ready, 0 time-out, -1 error.
int WaitReadable(int fd, int timeoutMs);
// One read of at most n bytes, waiting up to timeoutMs for the first byte.
long ReadSome(int fd, std::uint8_t* buf, std::size_t n, int timeoutMs);
// Reads exactly n bytes within timeoutMs in total; returns n, or a negative / 0 code as ReadSome.
long ReadExact(int fd, std::uint8_t* buf, std::size_t n, int timeoutMs);
// Writes all n bytes within timeoutMs in total; returns true when all went out. A socket is
// written without SIGPIPE.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t n, int timeoutMs, bool socket = true);
// Milli- and microseconds of a monotonic clock.
std::int64_t NowMs();
std::int64_t NowUs();

}  // namespace corvane::fdio
