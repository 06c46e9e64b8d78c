#include "discovery/CDeviceSearch.h"

#include <arpa/inet.h>

#include <array>
#include <cstdio>

#include "libs/portlink/CPortLink.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

constexpr int kSerial = 0;
constexpr int kEthernet = 1;
constexpr int kManager = 2;
constexpr int kDiscoveryPort = 20006;
constexpr int kModbusTcpPort = 502;

int Net(std::uint32_t hostOrder) { return static_cast<int>(htonl(hostOrder)); }
bool UsableAddress(std::uint32_t address) { return address != 0 && address != 0xFFFFFFFFu; }

}  // namespace

bool CDeviceSearch::HasSubModules(std::uint16_t code) {
  switch (code) {
    case 0x0405: case 0x0015: case 0xA002: case 0x0022: case 0x0023: return true;
    default: return false;
  }
}

std::uint16_t CDeviceSearch::SubModuleRegister(std::uint16_t code) {
  return (code == 0x0022 || code == 0x0023) ? 0xC608 : 0x156A;
}

void CDeviceSearch::AddCode(std::uint16_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", code);
  if (m_host.OpenModule(text)) ++m_nCounter;
}

int CDeviceSearch::ReadRegisters(const unsigned char* buffer, int bytes, std::uint16_t* out, int max) {
  int n = 0;
  for (int i = 0; i < max && 2 * i + 1 < bytes; ++i) {
    const std::uint16_t value = static_cast<std::uint16_t>((buffer[2 * i] << 8) | buffer[2 * i + 1]);
    if (value == 0) break;
    out[n++] = value;
  }
  return n;
}

bool CDeviceSearch::SearchDevices() {
  const int commType = m_conf.CommType;
  m_replies.Clear();
  m_host.PrepareSearch();
  m_nCounter = 0;
  switch (commType) {
    case kSerial: SerialBranch(); break;
    case kEthernet: EthernetBranch(); break;
    case kManager: ManagerBranch(); break;
    default: break;
  }
  if (m_nCounter == 0) {
    m_host.LogLine(LoadString(504));
    return false;
  }
  return true;
}

void CDeviceSearch::SerialBranch() {
  const int handle = m_host.OpenLink();
  if (handle != -1) {
    std::array<unsigned char, CPortLink::kBufferSize> buffer{};
    int function = 0, count = 0;
    // Identity: two registers from 0x0012 with the identity function.
    const unsigned char identity[4] = {0x00, 0x12, 0x00, 0x02};
    m_portLink.Request(kSerial, handle, 0, 0x67, identity, 4);
    std::uint16_t w0 = 0, w1 = 0;
    const int got = m_portLink.Response(kSerial, handle, &function, &count, buffer.data());
    if (got > 0) {  // the buffer is zero-filled, so a short reply reads as zeros
      w0 = static_cast<std::uint16_t>((buffer[0] << 8) | buffer[1]);
      w1 = static_cast<std::uint16_t>((buffer[2] << 8) | buffer[3]);
    }
    if (w0 == 1 && (w1 == 0x0015 || w1 == 0xA002 || w1 == 0x001A || w1 == 0x0017)) AddCode(w1);

    buffer.fill(0);
    const std::uint16_t reg = (w0 == 1 && (w1 == 0x0022 || w1 == 0x0023)) ? 0xC608 : 0x156A;
    const unsigned char subModules[4] = {static_cast<unsigned char>(reg >> 8), static_cast<unsigned char>(reg & 0xFF),
                                         0x00, 0x08};
    m_portLink.Request(kSerial, handle, 0, 3, subModules, 4);
    const int subBytes = m_portLink.Response(kSerial, handle, &function, &count, buffer.data());
    if (subBytes > 0) {
      std::uint16_t regs[8];
      const int n = ReadRegisters(buffer.data(), subBytes, regs, 8);
      for (int i = 0; i < n; ++i) AddCode(regs[i]);
    }
    m_host.CloseLink(handle);
  }

  // The discovery request on a raw line, whether or not the Modbus link opened.
  if (m_portLink.OpenSerialEx(m_conf.ComPortNum, 19200, 10) > 0) {
    if (ScanDevices(m_conf.ComPortNum)) AddCode(m_replies.Code(0));
    m_portLink.CloseSerial(m_conf.ComPortNum);
  } else {
    m_host.ShowMessage(503);
  }
}

void CDeviceSearch::EthernetBranch() {
  if (!m_bus.OpenSocket || m_bus.OpenSocket(2, Net(static_cast<std::uint32_t>(m_conf.IPAddress)), 0,
                                            kDiscoveryPort, 3) <= 0) {
    m_host.ShowMessage(503);
    return;
  }
  const bool answered = ScanDevices(0);
  m_bus.CloseSocket();
  if (!answered) return;

  for (std::size_t i = 0; i < kMaxReplies && m_replies.Code(i) != 0; ++i) {
    const std::uint16_t code = m_replies.Code(i);
    AddCode(code);
    if (!HasSubModules(code)) continue;
    // A reply too short to carry an address names none: connecting to 0.0.0.0 would reach
    // this machine, not the device.
    if (!UsableAddress(m_replies.Address(i))) continue;
    m_portLink.SetModbusMode(m_conf.ModbusMode + 1);
    const int conn = m_portLink.GetSocketConnNum();
    if (m_portLink.OpenSocket(conn, 1, Net(m_replies.Address(i)), kModbusTcpPort, 0) <= 0) continue;
    const std::uint16_t reg = SubModuleRegister(code);
    const unsigned char data[4] = {static_cast<unsigned char>(reg >> 8), static_cast<unsigned char>(reg & 0xFF),
                                   0x00, 0x08};
    m_portLink.Request(kEthernet, conn, 0, 3, data, 4);
    std::array<unsigned char, CPortLink::kBufferSize> buffer{};
    int function = 0, count = 0;
    const int bytes = m_portLink.Response(kEthernet, conn, &function, &count, buffer.data());
    m_portLink.CloseSocket(conn);
    if (bytes <= 0) continue;
    std::uint16_t regs[8];
    const int n = ReadRegisters(buffer.data(), bytes, regs, 8);
    for (int k = 0; k < n; ++k)
      if (regs[k] == 0x4041 || regs[k] == 0x4042) AddCode(regs[k]);
  }
}

void CDeviceSearch::ManagerBranch() {
  if (m_conf.PorthubInter == 3) {
    const int handle = m_host.OpenLink();
    if (handle == -1) {
      m_host.ShowMessage(503);
      return;
    }
    if (ScanDevices(handle)) {
      for (std::size_t i = 0; i < kMaxReplies && m_replies.Code(i) != 0; ++i) {
        const std::uint16_t code = m_replies.Code(i);
        AddCode(code);
        if ((code == 0x0405 || code == 0x0015 || code == 0xA002) && UsableAddress(m_replies.Address(i))) {
          // Reachability only: no module opens over this link type, so no sub-module is asked.
          m_portLink.SetModbusMode(m_conf.ModbusMode + 1);
          const int conn = m_portLink.GetSocketConnNum();
          if (m_portLink.OpenSocket(conn, 1, Net(m_replies.Address(i)), kModbusTcpPort, 0) > 0)
            m_portLink.CloseSocket(conn);
        }
      }
    }
    m_host.CloseLink(handle);
  } else if (m_conf.PorthubInter == 1 || m_conf.PorthubInter == 2) {
    // No probe is defined through the manager on a serial driver: the link is tried and
    // closed, and the scan is reported as not possible.
    const int handle = m_host.OpenLink();
    if (handle != -1) m_host.CloseLink(handle);
    m_host.ShowMessage(503);
  }
}

bool CDeviceSearch::ScanDevices(int handle) {
  m_host.BeginScanProgress();
  bool answer = false;
  const auto request = BuildDiscoveryRequest();
  std::array<unsigned char, kSendBufferSize> send{};
  std::array<unsigned char, CPortLink::kBufferSize> buffer{};
  int sent = 0;
  switch (m_conf.CommType) {
    case kSerial: {
      const auto frame = BuildSerialDiscoveryFrame();
      std::copy(frame.begin(), frame.end(), send.begin());
      sent = m_portLink.SendData(kSerial, handle, send.data(), static_cast<int>(frame.size()));
      break;
    }
    case kEthernet:
      std::copy(request.begin(), request.end(), send.begin());
      sent = m_bus.SendData ? m_bus.SendData(send.data(), static_cast<int>(request.size())) : 0;
      break;
    case kManager:
      std::copy(request.begin(), request.end(), send.begin());
      sent = m_portLink.SendPORTHUB(handle, 257, m_conf.PorthubDrvID, m_conf.IPAddress, kDiscoveryPort, send.data(),
                                    static_cast<int>(request.size()));
      break;
    default:
      break;
  }
  if (sent >= 1) {
    if (m_conf.CommType == kSerial) {
      const int n = m_portLink.RecvData(kSerial, handle, buffer.data(), static_cast<int>(buffer.size()));
      if (n > 0) {
        const auto decoded = SlipDecode(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
        m_replies.Store(0, decoded);
      }
      answer = n > 0;
    } else {
      for (std::size_t i = 0; i < kMaxReplies; ++i) {
        // Replies through the manager arrive on its link, not on BusLink's datagram socket.
        const int ready = m_conf.CommType == kEthernet
                              ? (m_bus.ReadSelect ? m_bus.ReadSelect(m_conf.ReceiveWait) : 0)
                              : m_portLink.WaitReadable(kManager, handle, m_conf.ReceiveWait);
        if (ready <= 0) break;
        buffer.fill(0);
        int source = 0;
        const int n = m_conf.CommType == kEthernet
                          ? m_bus.RecvData(buffer.data(), static_cast<int>(buffer.size()))
                          : m_portLink.RecvPORTHUB(handle, &source, buffer.data());
        if (n > 0) m_replies.Store(i, std::span<const std::uint8_t>(buffer.data(), std::min<std::size_t>(n, buffer.size())));
        answer = n > 0;
        if (n <= 0) break;  // a failed read ends the scan rather than leaving a gap in the table
      }
    }
  }
  m_host.EndScanProgress();
  return answer;
}

}  // namespace corvane
