#pragma once
// Faults a simulated device shows on request, chosen by the test (never by chance).
#include <string>

namespace corvane::devsim {

struct FaultSet {
  int lateMs = 0;            // delay every reply
  int byteGapMs = -1;        // >= 0: send the reply one byte at a time, this far apart
  bool wrongTid = false;     // Modbus TCP transaction id + 1
  bool wrongStation = false; // station / unit id + 1
  bool badCheck = false;     // wrong CRC, LRC or SLIP check byte
  bool badCount = false;     // byte count of a read reply + 2
  bool noReply = false;      // stay silent
  bool closeMidFrame = false;// send half a reply, then close (TCP) or stop (serial)
  int exception = 0;         // answer with this Modbus exception code
  int parityByte = -1;       // >= 0: this byte of a serial reply arrives with a parity error
  int udpSize = 100;         // bytes of each discovery datagram
  int udpCopies = 1;         // datagrams sent per device
  int count = 0;             // faults hit only the first N replies; 0 = every reply

  // Adds the comma-separated items of `text` (e.g. "late:1200,bytewise,wrongtid").
  bool Parse(const std::string& text, std::string& error);
  bool Any() const;
};

}  // namespace corvane::devsim
