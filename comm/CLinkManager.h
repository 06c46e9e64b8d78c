#pragma once
// The frame's link: BusLink loaded by name, the settings pushed into both libraries,
// the link opened and closed per type, and the communication manager asked for its port.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "comm/CLink.h"
#include "comm/CModbusTcpBatch.h"
#include "comm/CommConf.h"
#include "libs/buslink/BusLink.h"
#include "platform/CDynamicLibrary.h"

class CPortLink;

namespace corvane {

class CLinkManager {
public:
  CLinkManager(CommConf& conf, CPortLink& portLink) : m_conf(conf), m_portLink(portLink) {}
  ~CLinkManager();
  CLinkManager(const CLinkManager&) = delete;
  CLinkManager& operator=(const CLinkManager&) = delete;

  // Loads libBusLink.so beside the executable and resolves its names in order. On failure
  // shows the message (and returns false): the caller then ends the process with status 0.
  bool LoadBusLink(const std::string& exeFolder);
  CommConf& Conf() const { return m_conf; }
  const BusLinkApi& Bus() const { return m_bus; }
  bool BusLoaded() const { return m_library.IsLoaded(); }
  // The frame's first step of destruction: its entry points are cleared, then it is freed.
  void FreeBusLink();

  // Refills AdapterNames and AdapterIPs.
  void EnumNetworkAdapters();
  // Adapters, NetInterface fallback, HostIPAddr, then both libraries.
  void ApplyLinkSettings();
  // Steps that push the record into BusLink and PortLink (after the setting dialog:
  // without the manager port).
  void PushSettings(bool withPorthubPort);

  // The link the settings name, by link type; empty when nothing opened (messages 503 and 508
  // shown, a reason logged).
  CLink OpenLink();
  // The raw line of the serial discovery (8N1, 19200 baud, 1 s read time-out); empty when it
  // did not open.
  CLink OpenDiscoveryLine();
  // BusLink's datagram socket to an address (host value) and port; empty when it did not open.
  CLink OpenDatagramSocket(std::uint32_t address, int port);
  // A Modbus TCP connection to one device; empty, with a log line that starts with `who`, when
  // it was refused or timed out.
  CLink OpenModbusTcp(std::uint32_t address, const std::string& who = {});
  // An empty batch of Modbus TCP exchanges with devices (port 502), each bounded by
  // DeviceQueryLimits; PortLink's mode is set as a connection to a device sets it.
  CModbusTcpBatch DeviceQueries();
  // PortLink's connect time-out of OpenSocket(..., 0) and its default response time-out.
  ModbusTcpLimits DeviceQueryLimits;

  // Modules that hold a bare handle: the link behind it stays here until they close it, and
  // closes as what it was opened as. -1 when the link is not open.
  int Lend(CLink link);
  // Closes the latest lent link with that handle; other handles are ignored.
  void CloseLent(int handle);

  // Modbus TCP reaches every device on this port.
  static const int kModbusTcpPort;
  // Why a Modbus TCP connection to the address did not open, as the log and message 503 say it.
  static std::string ModbusTcpFailure(std::uint32_t address);

  // Asks the manager (local socket $XDG_RUNTIME_DIR/PORTHUB) for its TCP port: -1 when it does not answer.
  // The 100 ms pause after the request gives a late answer its chance before a link opens; the
  // frame's creation skips it, as it only refreshes the port (an answer is taken whenever it comes).
  int QueryPorthubPort(bool pauseForLateAnswer = true);
  // The answer socket the manager replies to; the frame watches it and calls AcceptPorthubAnswers.
  int AnswerFd() const { return m_answerFd; }
  void AcceptPorthubAnswers();

  std::vector<std::string> AdapterNames;
  std::vector<std::string> AdapterIPs;
  // Replaced in tests; the default reads the machine's adapters.
  std::function<void(std::vector<std::string>&, std::vector<std::string>&)> EnumAdapters;
  // Reasons worth a log line (a serial device refused for permissions, ...).
  std::function<void(const std::string&)> LogLine;

  static std::string PorthubSocketPath();

private:
  bool OpenAnswerSocket();

  CommConf& m_conf;
  CPortLink& m_portLink;
  platform::CDynamicLibrary m_library;
  BusLinkApi m_bus{};
  BusLinkDatagramCalls m_datagram;
  int m_answerFd = -1;
  std::string m_answerPath;
  std::vector<CLink> m_lent;
};

}  // namespace corvane
