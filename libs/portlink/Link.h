#pragma once
// One open link of a CPortLink: a serial line or a socket, the transport that drives it, and
// the request whose reply is awaited.
#include <cstdint>
#include <string>

#include "libs/portlink/Framing.h"
#include "libs/portlink/LineMarks.h"
#include "libs/portlink/SerialLine.h"
#include "libs/portlink/Transport.h"
#include "libs/portlink/UniqueFd.h"

namespace corvane {

struct Link {
  std::string name;  // "COM5", "127.0.0.1:502": how the tracer names it
  const Transport* transport = nullptr;
  SerialLine line;   // a serial link's device
  UniqueFd socket;   // a socket link's connection
  LineMarks marks;   // the line's marked input, across reads
  int readTimeoutMs = 0;  // raw reads (RecvData); 0: the response time-out
  std::int64_t lastByteUs = 0;  // the last byte seen on the line: sent, or received
  std::int64_t sentUs = 0;      // when the last request had left the line
  std::uint16_t transaction = 0;
  const modbus::Framing* framing = nullptr;  // of the request whose reply is awaited
  modbus::Expect expect;
  bool pending = false;

  int Fd() const { return socket ? socket.Get() : line.Fd(); }
};

}  // namespace corvane
