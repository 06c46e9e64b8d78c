#include "discovery/CDeviceSearch.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "comm/CLinkManager.h"
#include "discovery/CDeviceRules.h"
#include "libs/portlink/CPortLink.h"
#include "libs/portlink/FdIo.h"
#include "resources/CStringTable.h"
#include "resources/StringIds.h"

namespace corvane {
namespace {

constexpr int kPorthubDatagram = 257;  // the manager's command: a datagram to a device
constexpr std::int64_t kServeSliceMs = 10;  // how long the queries may wait while replies are awaited

bool UsableAddress(std::uint32_t address) { return address != 0 && address != 0xFFFFFFFFu; }

using Buffer = std::array<unsigned char, CPortLink::kBufferSize>;

std::span<const std::uint8_t> Received(const Buffer& buffer, int bytes) {
  return {buffer.data(), static_cast<std::size_t>(std::clamp(bytes, 0, static_cast<int>(buffer.size())))};
}

}  // namespace

CDeviceSearch::CDeviceSearch(CLinkManager& links, ISearchHost& host)
    : m_links(links), m_conf(links.Conf()), m_host(host) {}

void CDeviceSearch::AddCode(std::uint16_t code, HeardCode::From from, std::ptrdiff_t record) {
  m_host.Heard({code, from, record});
  char text[8];
  std::snprintf(text, sizeof text, "%04X", code);
  if (m_host.OpenModule(text)) ++m_nCounter;
}

bool CDeviceSearch::SearchDevices() {
  const std::optional<LinkType> type = ToLinkType(m_conf.CommType);
  m_replies.Clear();
  m_host.PrepareSearch();
  m_nCounter = 0;
  if (type == LinkType::Serial) SerialBranch();
  if (type == LinkType::Ethernet) EthernetBranch();
  if (type == LinkType::Manager) ManagerBranch();
  if (m_nCounter == 0) {
    m_host.LogLine(LoadString(ids::kDeviceNotFound));
    return false;
  }
  return true;
}

void CDeviceSearch::SerialBranch() {
  if (CLink link = m_links.OpenLink()) ProbeSerialDevice(link);
  // The discovery request on a raw line, whether or not the Modbus link opened.
  if (CLink line = m_links.OpenDiscoveryLine()) {
    if (ScanDevices(line)) AddCode(m_replies.Code(0), HeardCode::From::Discovery, 0);
  } else {
    m_host.ShowMessage(ids::kCannotOpenLink);
  }
}

void CDeviceSearch::ProbeSerialDevice(CLink& link) {
  Buffer buffer{};
  link.Request(kIdentityFunction, kIdentityProbe.data(), static_cast<int>(kIdentityProbe.size()));
  std::uint16_t w0 = 0, w1 = 0;
  if (link.Response(buffer.data()) > 0) {  // the buffer is zero-filled, so a short reply reads as zeros
    w0 = static_cast<std::uint16_t>((buffer[0] << 8) | buffer[1]);
    w1 = static_cast<std::uint16_t>((buffer[2] << 8) | buffer[3]);
  }
  if (CDeviceRules::IsIdentityModule(w0, w1)) AddCode(w1, HeardCode::From::Identity);

  buffer.fill(0);
  const auto probe = CDeviceRules::SubModuleProbe(CDeviceRules::SubModuleRegister(w0 == 1 ? w1 : 0));
  link.Request(kSubModuleFunction, probe.data(), static_cast<int>(probe.size()));
  const int bytes = link.Response(buffer.data());
  if (bytes <= 0) return;
  for (std::uint16_t code : CDeviceRules::SubModuleList(Received(buffer, bytes)))
    AddCode(code, HeardCode::From::SubModule);
}

void CDeviceSearch::EthernetBranch() {
  RecordQueries queries{m_links.DeviceQueries(), Ask::SubModules};
  {
    CLink socket = m_links.OpenDatagramSocket(static_cast<std::uint32_t>(m_conf.IPAddress), kDiscoveryPort);
    if (!socket) {
      m_host.ShowMessage(ids::kCannotOpenLink);
      return;
    }
    m_pQueries = &queries;
    const bool answered = ScanDevices(socket);
    m_pQueries = nullptr;
    if (!answered) return;
  }  // BusLink's socket is closed before the queries still running are waited for
  const std::vector<ModbusTcpAnswer> answers = FinishQueries(queries);
  // Applied in table order: what opens, and in which order, is what asking one device after
  // the other gives.
  for (std::size_t i = 0; i < answers.size(); ++i) {
    const auto record = static_cast<std::ptrdiff_t>(i);
    AddCode(m_replies.Code(i), HeardCode::From::Discovery, record);
    if (answers[i].result <= 0) continue;
    for (std::uint16_t code : CDeviceRules::SubModuleList(answers[i].data))
      if (CDeviceRules::IsCardCode(code)) AddCode(code, HeardCode::From::Card, record);
  }
}

void CDeviceSearch::ManagerBranch() {
  if (m_conf.PorthubInter == 3) {
    CLink link = m_links.OpenLink();
    if (!link) {
      m_host.ShowMessage(ids::kCannotOpenLink);
      return;
    }
    // Reachability only: no module opens over this link type, so no sub-module is asked.
    RecordQueries queries{m_links.DeviceQueries(), Ask::Reachability};
    m_pQueries = &queries;
    const bool answered = ScanDevices(link);
    m_pQueries = nullptr;
    if (!answered) return;
    const std::size_t records = FinishQueries(queries).size();
    for (std::size_t i = 0; i < records; ++i)
      AddCode(m_replies.Code(i), HeardCode::From::Discovery, static_cast<std::ptrdiff_t>(i));
  } else if (m_conf.PorthubInter == 1 || m_conf.PorthubInter == 2) {
    // No probe is defined through the manager on a serial driver: the link is tried and
    // closed, and the scan is reported as not possible.
    CLink tried = m_links.OpenLink();
    tried.Close();
    m_host.ShowMessage(ids::kCannotOpenLink);
  }
}

void CDeviceSearch::OfferQuery(std::size_t record) {
  if (!m_pQueries) return;
  const std::uint16_t code = m_replies.Code(record);
  const std::uint32_t address = m_replies.Address(record);
  // A reply too short to carry an address names none: connecting to 0.0.0.0 would reach
  // this machine, not the device.
  if (!UsableAddress(address)) return;
  ModbusTcpQuery query{address, 0, 0, {}};
  if (m_pQueries->ask == Ask::SubModules) {
    if (!CDeviceRules::HasSubModules(code) || m_conf.StationAddr < 0 || m_conf.StationAddr > 255) return;
    const auto probe = CDeviceRules::SubModuleProbe(CDeviceRules::SubModuleRegister(code));
    query.unit = static_cast<std::uint8_t>(m_conf.StationAddr);
    query.function = kSubModuleFunction;
    query.data.assign(probe.begin(), probe.end());
  } else if (!CDeviceRules::IsManagerProbed(code)) {
    return;
  }
  m_pQueries->exchangeOf[record] = static_cast<std::ptrdiff_t>(m_pQueries->batch.Size());
  m_pQueries->batch.Add(std::move(query));
}

std::vector<ModbusTcpAnswer> CDeviceSearch::FinishQueries(RecordQueries& queries) {
  const bool waiting = queries.batch.Busy();
  if (waiting) m_host.BeginScanProgress();
  std::vector<ModbusTcpAnswer> answers =
      queries.batch.Finish([this](std::size_t done, std::size_t total) { m_host.ScanProgress(done, total); });
  if (waiting) m_host.EndScanProgress();
  std::vector<ModbusTcpAnswer> byRecord(m_replies.Count());
  for (std::size_t i = 0; i < byRecord.size(); ++i)
    if (queries.exchangeOf[i] >= 0) byRecord[i] = std::move(answers[static_cast<std::size_t>(queries.exchangeOf[i])]);
  return byRecord;
}

bool CDeviceSearch::ScanDevices(CLink& link) {
  m_host.BeginScanProgress();
  bool answer = false;
  if (SendDiscoveryRequest(link)) answer = link.Type() == LinkType::Serial ? ReadSerialReply(link) : ReadReplies(link);
  m_host.EndScanProgress();
  return answer;
}

bool CDeviceSearch::SendDiscoveryRequest(CLink& link) {
  const auto request = BuildDiscoveryRequest();
  const int size = static_cast<int>(request.size());
  switch (link.Type()) {
    case LinkType::Serial: {
      const auto frame = BuildSerialDiscoveryFrame();
      return link.SendData(frame.data(), static_cast<int>(frame.size())) >= 1;
    }
    case LinkType::Ethernet: return link.SendData(request.data(), size) >= 1;
    case LinkType::Manager:
      return link.SendPORTHUB(kPorthubDatagram, m_conf.PorthubDrvID, m_conf.IPAddress, kDiscoveryPort, request.data(),
                              size) >= 1;
  }
  return false;
}

bool CDeviceSearch::ReadSerialReply(CLink& link) {
  Buffer buffer{};
  const int n = link.RecvData(buffer.data(), static_cast<int>(buffer.size()));
  if (n > 0) m_replies.Store(0, SlipDecode(Received(buffer, n)));
  return n > 0;
}

bool CDeviceSearch::ReadReplies(CLink& link) {
  Buffer buffer{};
  std::size_t stored = 0;
  // A read that names no device (empty, failed, code 0) takes no record, and the wait for
  // 500 ms of silence goes on. They are bounded as the records are, so no sender can keep
  // the search reading.
  for (std::size_t idle = 0; stored < kMaxReplies && idle < kMaxReplies;) {
    if (WaitForReply(link) <= 0) break;
    buffer.fill(0);
    int source = 0;
    // Replies through the manager arrive on its link, not on BusLink's datagram socket.
    const int n = link.Type() == LinkType::Manager ? link.RecvPORTHUB(&source, buffer.data())
                                                   : link.RecvData(buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0 || (buffer[0] | buffer[1]) == 0) {
      ++idle;
      continue;
    }
    m_replies.Store(stored, Received(buffer, n));
    OfferQuery(stored++);
  }
  return stored > 0;
}

int CDeviceSearch::WaitForReply(CLink& link) {
  // While queries run, they are served before every wait, and the wait is cut into slices;
  // the silence is still measured from the last reply.
  const std::int64_t deadline = fdio::NowMs() + m_conf.ReceiveWait;
  for (;;) {
    const bool serving = m_pQueries && m_pQueries->batch.Busy();
    if (serving) m_pQueries->batch.Poll(0);
    const std::int64_t left = std::max<std::int64_t>(0, deadline - fdio::NowMs());
    const int ready = link.WaitReadable(static_cast<int>(serving ? std::min<std::int64_t>(left, kServeSliceMs) : left));
    if (ready != 0 || !serving || fdio::NowMs() >= deadline) return ready;
  }
}

}  // namespace corvane
