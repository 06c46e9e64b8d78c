#pragma once
// The one link state behind BusLink's C functions.
#include <cstdint>

#include "libs/portlink/CPortLink.h"
#include "libs/portlink/UniqueFd.h"

namespace corvane::buslink {

struct State {
  CPortLink link;
  int commType = 0, port = 1, station = 0, mode = 1, baud = 9600;
  int dataLen = 7, parity = 2, stopBits = 1;
  std::uint32_t remoteNet = 0xFFFFFFFF, hostNet = 0xFFFFFFFF;
  int serialOpen = 0;  // the port number of the open line, 0 when none
  int tcpConn = 0;     // connection number in `link`, 0 when none
  UniqueFd udp;        // the datagram socket
  std::uint32_t udpTargetNet = 0;
  int udpPort = 0;
  int socketTimeoutMs = 1000;
  int lastSerialErr = 0, lastSocketErr = 0;
};

State& Instance();
// True when addressNet is configured on one of this machine's interfaces.
bool IsLocalAddress(std::uint32_t addressNet);

}  // namespace corvane::buslink
