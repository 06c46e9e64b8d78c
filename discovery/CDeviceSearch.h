#pragma once
// The device search: Modbus identity and sub-module probes on a serial link, the discovery
// request on every link type, a module opened for every code heard, and the Modbus TCP queries
// of the devices heard, run all at once.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CLink.h"
#include "comm/CModbusTcpBatch.h"
#include "discovery/CDiscoveryFrame.h"

namespace corvane {

class CLinkManager;
struct CommConf;

// A code the search heard, told before its module is opened: where it came from, so a tool can
// list devices with their addresses and sub-modules.
struct HeardCode {
  enum class From { Identity, SubModule, Discovery, Card };
  std::uint16_t code = 0;
  From from = From::Discovery;
  std::ptrdiff_t record = -1;  // the reply record it came from (Discovery, Card); -1 for the Modbus probes
};

// What the search needs from the frame.
class ISearchHost {
public:
  virtual ~ISearchHost() = default;
  // Empties the open-module lists, refreshes the status, closes the documents (New).
  virtual void PrepareSearch() = 0;
  virtual bool OpenModule(const std::string& code) = 0;
  virtual void ShowMessage(unsigned stringId) = 0;
  // The not-found line, sent as a module message to the output log.
  virtual void LogLine(const std::string& text) = 0;
  // The progress window around the scan, and around the device queries after it.
  virtual void BeginScanProgress() = 0;
  virtual void EndScanProgress() = 0;
  // `done` of `total` device queries have ended.
  virtual void ScanProgress(std::size_t /*done*/, std::size_t /*total*/) {}
  // Every code, before OpenModule is asked to open it.
  virtual void Heard(const HeardCode& /*heard*/) {}
};

class CDeviceSearch {
public:
  // Every link comes from `links`, the settings too.
  CDeviceSearch(CLinkManager& links, ISearchHost& host);

  // True when at least one module was opened.
  bool SearchDevices();
  // One discovery request on the link and the replies into the table; true when it holds one.
  bool ScanDevices(CLink& link);

  const CReplyTable& Replies() const { return m_replies; }
  int Counter() const { return m_nCounter; }

private:
  enum class Ask { SubModules, Reachability };
  // The Modbus TCP queries of the records, each started as its reply is stored.
  struct RecordQueries {
    CModbusTcpBatch batch;
    Ask ask;
    std::vector<std::ptrdiff_t> exchangeOf = std::vector<std::ptrdiff_t>(kMaxReplies, -1);
  };

  void AddCode(std::uint16_t code, HeardCode::From from, std::ptrdiff_t record = -1);
  void SerialBranch();
  void ProbeSerialDevice(CLink& link);
  void EthernetBranch();
  void ManagerBranch();
  bool SendDiscoveryRequest(CLink& link);
  bool ReadSerialReply(CLink& link);
  bool ReadReplies(CLink& link);
  // ReadSelect's wait for the next reply, with the running queries served meanwhile.
  int WaitForReply(CLink& link);
  // Starts the query of a record just stored, when the record is one to ask.
  void OfferQuery(std::size_t record);
  // Waits for the queries still running, under the progress window; the answer of record i at
  // index i (result 0 for a record not asked).
  std::vector<ModbusTcpAnswer> FinishQueries(RecordQueries& queries);

  CLinkManager& m_links;
  CommConf& m_conf;
  ISearchHost& m_host;
  CReplyTable m_replies;
  int m_nCounter = 0;
  RecordQueries* m_pQueries = nullptr;  // set while a scan starts queries
};

}  // namespace corvane
