#pragma once
// The device search: Modbus identity and sub-module probes on a serial link, the discovery
// request on every link type, and a module opened for every code heard.
#include <cstdint>
#include <string>

#include "comm/CommConf.h"
#include "discovery/CDiscoveryFrame.h"
#include "libs/buslink/BusLink.h"

class CPortLink;

namespace corvane {

// What the search needs from the frame.
class ISearchHost {
public:
  virtual ~ISearchHost() = default;
  // Empties the open-module lists, refreshes the status, closes the documents (New).
  virtual void PrepareSearch() = 0;
  virtual bool OpenModule(const std::string& code) = 0;
  virtual int OpenLink() = 0;
  virtual void CloseLink(int handle) = 0;
  virtual void ShowMessage(unsigned stringId) = 0;
  // The not-found line, sent as a module message to the output log.
  virtual void LogLine(const std::string& text) = 0;
  // The progress window around the scan.
  virtual void BeginScanProgress() = 0;
  virtual void EndScanProgress() = 0;
};

class CDeviceSearch {
public:
  CDeviceSearch(CommConf& conf, CPortLink& portLink, const BusLinkApi& bus, ISearchHost& host)
      : m_conf(conf), m_portLink(portLink), m_bus(bus), m_host(host) {}

  // True when at least one module was opened.
  bool SearchDevices();
  // One discovery request on the handle and the replies into the table.
  bool ScanDevices(int handle);

  const CReplyTable& Replies() const { return m_replies; }
  int Counter() const { return m_nCounter; }

  // Codes whose devices list sub-modules, and the register that list starts at.
  static bool HasSubModules(std::uint16_t code);
  static std::uint16_t SubModuleRegister(std::uint16_t code);

private:
  void AddCode(std::uint16_t code);
  void SerialBranch();
  void EthernetBranch();
  void ManagerBranch();
  // Up to eight big-endian registers from a reply buffer, stopping at the first 0.
  static int ReadRegisters(const unsigned char* buffer, int bytes, std::uint16_t* out, int max);

  CommConf& m_conf;
  CPortLink& m_portLink;
  const BusLinkApi& m_bus;
  ISearchHost& m_host;
  CReplyTable m_replies;
  int m_nCounter = 0;
};

}  // namespace corvane
