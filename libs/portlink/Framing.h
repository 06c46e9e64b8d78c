#pragma once
// The framings of Modbus on a link, in libmodbus's manner: one small table each for RTU, ASCII
// and TCP that builds a request, finds the reply in the bytes received so far, and opens a found
// frame down to its PDU. The byte transport (Transport.h) knows nothing of them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "libs/portlink/ModbusFrame.h"

namespace corvane::modbus {

// What the reply to a request must match.
struct Expect {
  std::uint8_t station = 0;
  std::uint8_t function = 0;
  std::uint16_t transaction = 0;
  std::vector<std::uint8_t> request;  // the request as sent: a line's echo of it is skipped
};

// Where a reply stands in the bytes received so far.
struct Scan {
  enum State { kMore, kFrame, kNone };
  State state = kMore;
  std::size_t offset = 0, length = 0;  // kFrame: where the frame lies
  std::size_t need = 0;                // kMore: bytes wanted in all, as far as the header tells
  std::size_t settled = 0;             // bytes before this are noise or echo, never looked at again
  int error = kTimeout;                // kNone: why nothing usable came; kMore: the last failed frame
};

// A frame's PDU, opened: its length (or a Result when it cannot be opened), and kStation or
// kTransaction when it belongs to another request (the PDU is still there to be reported).
struct Unwrapped {
  int length = kChecksum;
  int mismatch = 0;
};

struct Framing {
  const char* name;
  int silenceTenths;    // silence the line must keep before a request, in tenths of a character
  bool endsAtSilence;   // a pause in the middle of a reply ends it (RTU)
  std::vector<std::uint8_t> (*encode)(const Expect& expect, const std::uint8_t* data, std::size_t n);
  // Looks at rx[n] from `from` on; bad[i] marks a byte received with a line error. `final`:
  // nothing more will arrive, so a frame that is still incomplete will never be.
  Scan (*scan)(const std::uint8_t* rx, const std::uint8_t* bad, std::size_t n, std::size_t from, const Expect& expect,
               bool final);
  Unwrapped (*unwrap)(const std::uint8_t* frame, std::size_t n, const Expect& expect, std::uint8_t* pdu);
};

extern const Framing kRtuFraming;
extern const Framing kAsciiFraming;
extern const Framing kTcpFraming;

// The facts a reply gave besides its data: its function code (-1 when no frame was found) and
// the exception code of an exception reply (0 otherwise).
struct ReplyInfo {
  int function = -1;
  int exception = 0;
};

// The data bytes of a frame that scan found (into out[cap]), or a Result.
int OpenReply(const Framing& framing, const std::uint8_t* frame, std::size_t n, const Expect& expect,
              std::uint8_t* out, std::size_t cap, ReplyInfo* info);

// A whole reply in buf[n] (no line errors): its data bytes, or a Result; kIncomplete while a
// frame may still be arriving (final false).
int DecodeReply(const Framing& framing, const std::uint8_t* buf, std::size_t n, const Expect& expect,
                std::uint8_t* out, std::size_t cap, bool final, ReplyInfo* info = nullptr);
int DecodeRtuReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                   std::uint8_t* out, std::size_t cap, bool final);
int DecodeAsciiReply(const std::uint8_t* buf, std::size_t n, std::uint8_t station, std::uint8_t function,
                     std::uint8_t* out, std::size_t cap, bool final);

}  // namespace corvane::modbus
