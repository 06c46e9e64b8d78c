#pragma once
// The frame's link: BusLink loaded by name, the settings pushed into both libraries,
// the link opened and closed per type, and the communication manager asked for its port.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

  // -1 when nothing was opened (messages 503 and 508 shown).
  int OpenLink();
  void CloseLink(int handle);

  // Asks the manager (local socket $XDG_RUNTIME_DIR/PORTHUB) for its TCP port: -1 when it does not answer.
  int QueryPorthubPort();
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
  int m_answerFd = -1;
  std::string m_answerPath;
};

}  // namespace corvane
