#pragma once
// The link tracer: every frame a CPortLink sends and receives, and every failed reply with its
// reason, handed to whoever listens (corvane-cli's --trace, a communication monitor). Off unless
// a listener is added: a link then only reads one flag per frame. Process-wide, as the library
// is: the program, BusLink and every module are traced alike. Listeners are called on the
// thread that does the traffic, one at a time.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#define PORTLINK_TRACE_API __attribute__((visibility("default")))

namespace corvane::trace {

enum class Direction { Sent, Received };
// How the bytes are framed: Modbus RTU, ASCII or TCP, raw data (discovery), a PORTHUB frame.
enum class Framing { Rtu, Ascii, Tcp, Raw, Porthub };
enum class Check { None, Ok, Bad };  // checksum (RTU CRC, ASCII LRC) or length (MBAP, PORTHUB)

// What a frame says of itself, as far as its bytes tell; -1 where a field does not apply.
struct FrameSummary {
  int station = -1;      // station, or the unit id over TCP
  int function = -1;     // with 0x80 set for an exception
  int exception = 0;     // the exception code of an exception reply
  int byteCount = -1;    // a read reply's byte count, a multiple write's
  int address = -1;      // a request's first address, a write's echo
  int count = -1;        // a request's count (or the value of a single write)
  int transaction = -1;  // MBAP transaction id; PORTHUB command
  Check check = Check::None;
};

struct TraceEvent {
  std::int64_t timeUs = 0;       // monotonic clock (CLOCK_MONOTONIC), microseconds
  Direction direction = Direction::Sent;
  std::string link;              // "COM5", "127.0.0.1:502", "PORTHUB"
  Framing framing = Framing::Raw;
  std::span<const std::uint8_t> bytes;  // as they went out or came in (noise and echo included)
  FrameSummary summary;          // of the frame in bytes (where a reply lies after noise, of that)
  // For a reply: 0 when it was taken, else the link's result code: kTimeout (with no bytes),
  // kChecksum, kStation, kFunction, kException, kByteCount, kTransaction, kTruncated, ...
  int failure = 0;
};

class ILinkTraceListener {
public:
  virtual ~ILinkTraceListener() = default;
  virtual void OnTrace(const TraceEvent& event) = 0;
};

class PORTLINK_TRACE_API LinkTrace {
public:
  // A listener stays added until removed; it must outlive that.
  static void AddListener(ILinkTraceListener* listener);
  static void RemoveListener(ILinkTraceListener* listener);
  // Someone listens; the only cost of tracing when nobody does.
  static bool Active() noexcept;
  static void Emit(const TraceEvent& event);

  // The summary of a frame as its framing reads it; `request` for a client's request (its address
  // and count), else a reply.
  static FrameSummary Summarize(Framing framing, std::span<const std::uint8_t> bytes, bool request);
  // "time-out", "bad checksum", ... for a failure code.
  static const char* FailureText(int failure);
  static const char* FramingName(Framing framing);
};

}  // namespace corvane::trace
