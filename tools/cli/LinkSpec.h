#pragma once
// The link one corvane-cli command talks over: a serial line or a Modbus TCP address, with the
// station and the response time-out.
#include <cstdint>
#include <string>

namespace corvane::cli {

struct LinkSpec {
  enum class Kind { Serial, Tcp };
  Kind kind = Kind::Serial;
  // Serial: COMn through the port map (comPort > 0), or a device path.
  int comPort = 0;
  std::string devicePath;
  int baud = 9600;
  int dataBits = 8;
  int parity = 0;    // 0 none, 1 odd, 2 even
  int stopBits = 1;
  int mode = 2;      // 1 ASCII, 2 RTU (the libraries' numbers)
  // Modbus TCP.
  std::uint32_t ip = 0;  // first octet in the most significant byte
  int tcpPort = 502;
  int station = 1;
  int timeoutMs = 0;  // 0: the library's default

  // "COM5", "/dev/ttyUSB0", "127.0.0.1:502".
  std::string Name() const;
  // "9600 8E1 RTU"; "Modbus TCP" for a TCP link.
  std::string Format() const;
};

}  // namespace corvane::cli
