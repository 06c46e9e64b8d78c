#pragma once
// The device simulator: a pty Modbus slave with SLIP discovery, Modbus TCP servers,
// the UDP discovery responder and a stand-in PORTHUB manager, served from one poll() loop.
#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/devsim/ModbusCodec.h"
#include "tools/devsim/PtyLine.h"
#include "tools/devsim/SimOptions.h"
#include "tools/devsim/UniqueFd.h"

namespace corvane::devsim {

class Simulator {
 public:
  explicit Simulator(SimOptions options);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Opens every served endpoint; `signalFd` ends Run() when readable.
  bool Start(int signalFd, std::string& error);
  std::string ReadyLine() const;
  void Run();

 private:
  using Clock = std::chrono::steady_clock;
  enum class Kind { Pty, ModbusTcp, PorthubRequest, ManagerLink };
  struct Device {
    DeviceSpec spec;
    DeviceTables tables;
    int faulted = 0;
  };
  struct Chunk {
    Clock::time_point due;
    Bytes data;
    bool closeAfter = false;
    int markAt = -1;        // the pty: this byte arrives with a parity error
    bool prepared = false;  // the pty: data is what the line hands over
  };
  struct Stream {
    UniqueFd fd;
    Kind kind = Kind::ModbusTcp;
    Bytes in;
    std::deque<Chunk> out;
    std::size_t listener = 0;
    Clock::time_point lastRx{};
    bool dead = false;
  };
  struct TcpListener {
    UniqueFd fd;
    std::uint32_t ip = 0;
    int port = 0;
    std::vector<std::size_t> devices;
  };
  struct Datagram {
    Clock::time_point due;
    sockaddr_in to{};
    Bytes data;
  };

  bool OpenPty(std::string& error);
  bool OpenTcp(std::string& error);
  bool OpenUdp(std::string& error);
  bool OpenPorthub(std::string& error);
  void Cleanup();

  const FaultSet& FaultsFor(Device& device);
  void Schedule(Stream& stream, Bytes frame, const FaultSet& faults, bool canClose);
  void SchedulePaced(Bytes frame, Clock::time_point due, int markAt);
  Clock::time_point NextDeadline(Clock::time_point now) const;
  static void ApplyPduFaults(Bytes& pdu, const FaultSet& faults);
  Device* SerialDevice(std::uint8_t station);

  void ReadStream(Stream& stream);
  void ProcessPty(bool silenceOver);
  void HandleSerialModbus(const Bytes& adu, bool ascii);
  void HandleSlip(const std::uint8_t* data, std::size_t size);
  void ProcessTcp(Stream& stream);
  void ProcessPorthub(Stream& stream);
  void ProcessManager(Stream& stream);
  void ReadUdp();
  bool FlushStream(Stream& stream);  // false: a write must be retried
  bool FlushUdp();
  void Accept(int listenFd, Kind kind, std::size_t listener);
  void Log(const std::string& text) const;

  SimOptions m_opt;
  std::vector<Device> m_devices;
  int m_signalFd = -1;
  // Serial line
  std::unique_ptr<Stream> m_pty;
  PtyLine m_line;
  // Networks
  std::vector<TcpListener> m_tcp;
  UniqueFd m_udp;
  int m_udpPort = 0;
  std::deque<Datagram> m_datagrams;
  UniqueFd m_porthub;
  UniqueFd m_manager;
  int m_managerPort = 0;
  bool m_porthubBound = false;
  std::vector<std::unique_ptr<Stream>> m_streams;
};

}  // namespace corvane::devsim
