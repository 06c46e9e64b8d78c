#pragma once
// The byte transports under the Modbus framings, in libmodbus's manner: one small table of
// operations per transport (serial line, socket). CPortLink reaches a link only through its table.
#include <cstddef>
#include <cstdint>

#include "libs/portlink/LinkKinds.h"

namespace corvane {

struct Link;
namespace modbus {
struct Framing;
}

struct Transport {
  const char* name;
  // The framing of Modbus requests on this transport in `mode` (null when there is none).
  const modbus::Framing* (*framing)(std::optional<ModbusMode> mode);
  // Before a request: drops input nobody read (replies to requests that timed out) and keeps
  // the line silent for `silenceTenths` tenths of a character since the last byte seen on it.
  void (*prepare)(Link& link, int silenceTenths);
  // Writes all bytes within timeoutMs; a line returns once they have left it. False on failure.
  bool (*send)(Link& link, const std::uint8_t* data, std::size_t n, int timeoutMs);
  // Waits up to timeoutMs for input and reads what is there into data[cap]: the count, 0 on a
  // time-out, below 0 when the peer is gone or the read failed. bad[i] marks a byte received
  // with a parity or framing error.
  long (*recv)(Link& link, std::uint8_t* data, std::uint8_t* bad, std::size_t cap, int timeoutMs);
  // 1 input waiting, 0 time-out, below 0 error.
  int (*wait)(Link& link, int timeoutMs);
  // Microseconds n characters take on the wire (0 where there is no line speed).
  long (*wireUs)(const Link& link, std::size_t n);
  // A pause that ends a raw reply (RecvData), 0: a raw reply is one read.
  int rawGapMs;
};

extern const Transport kSerialTransport;
extern const Transport kSocketTransport;

}  // namespace corvane
