#pragma once
// The communication object of the PortLink library: serial Modbus ASCII/RTU, Modbus TCP, raw
// serial and socket traffic, the manager (PORTHUB) framing, CRC-16 and the serialize area.
// Results: positive or 0 on success where a count is returned, negative on failure
// (corvane::modbus::Result codes). libs/README.md documents every argument.
#include <functional>
#include <memory>
#include <string>

#include "libs/portlink/LinkKinds.h"

#define PORTLINK_API __attribute__((visibility("default")))

class PORTLINK_API CPortLink {
 public:
  static constexpr int kSerializeSize = 10240;
  static constexpr int kBufferSize = 256;  // Response / RecvData / RecvPORTHUB buffers
  static constexpr int kMaxConnections = 64;
  static constexpr int kDefaultResponseMs = 1000;

  // Maps a COM port number to a device path ("" = no such port).
  using PortResolver = std::function<std::string(int port)>;
  // What the port map of this machine says of COMn: its device and how to drive it.
  struct PortSpec {
    std::string path;             // "" = no such port
    bool rs485 = false;           // the kernel's RS-485 mode: RTS raised while sending
    int rs485DelayBeforeMs = 0;   // RTS raised this long before the first bit
    int rs485DelayAfterMs = 0;    // and held this long after the last one
  };
  using PortMap = std::function<PortSpec(int port)>;

  CPortLink();
  ~CPortLink();
  CPortLink(const CPortLink&) = delete;
  CPortLink& operator=(const CPortLink&) = delete;

  void SetCommType(int type);
  void SetSerialNum(int port);
  void SetStationAddr(int station);
  void SetModbusMode(int mode);  // 1 ASCII, 2 RTU
  void SetSerialBaudrate(int baud);
  void SetSerialParams(int dataLen, int parity, int stopBits);
  void SetPorthubPort(int port);
  void SetRemoteIPAddr(int addressNet);
  void SetHostIPAddr(int addressNet);

  int OpenSerial(int port, int baud, int dataLen, int parity, int stopBits);
  int OpenSerialEx(int port, int baud, int readTimeoutTenths);  // raw 8N1 line
  void CloseSerial(int port);

  int GetSocketConnNum();
  int OpenSocket(int conn, int protocol, int addressNet, int tcpPort, int connectTimeoutTenths);
  void CloseSocket(int conn);

  int Request(int type, int handle, int reserved, int function, const unsigned char* data, int length);
  int Response(int type, int handle, int* function, int* count, unsigned char* buffer);
  int SendData(int type, int handle, const unsigned char* data, int length);
  int RecvData(int type, int handle, unsigned char* buffer, int size);
  int SendPORTHUB(int handle, int command, int driverId, int address, int port, const unsigned char* data, int length);
  int RecvPORTHUB(int handle, int* source, unsigned char* buffer);

  unsigned short GetCRC16(const unsigned char* data, int length);
  int SetSerializeData(const unsigned char* data, int length);  // -1 and an empty area when refused
  int GetSerializeData(unsigned char* buffer);                 // buffer of kSerializeSize

  // Beyond the fixed contract: waits, port maps, time-outs and what went wrong.
  int WaitReadable(int type, int handle, int timeoutMs);  // 1 ready, 0 time-out, <0 error
  // This object's own map of COM numbers to device paths; it wins over the process's port map.
  void SetPortResolver(PortResolver resolver);
  // The port map every CPortLink of this process opens COMn through (the program's, BusLink's,
  // the modules'), unless it has its own resolver. Without one, COMn is /dev/ttyS(n-1).
  static void SetPortMap(PortMap map);
  // Whether this user may open the serial device now, found without opening it: "" when so, else
  // why not (no such device, permissions and the group to join, the program that holds it).
  static std::string PortAvailability(const std::string& device);
  // The device's response time: how long after a request has left the line its reply must begin.
  // ms <= 0 follows the process's default (kDefaultResponseMs unless SetDefaultResponseTimeout).
  void SetResponseTimeout(int ms);
  static void SetDefaultResponseTimeout(int ms);
  int ResponseTimeout() const;
  int LastResult() const;           // result of the last failing call (0 = none)
  int LastException() const;        // exception code of the last Response (0 = no exception reply)
  std::string LastErrorText() const;  // the last failure in words: the open refusal, the exception named

 private:
  struct Impl;
  std::unique_ptr<Impl> m;
};
