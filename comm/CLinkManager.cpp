#include "comm/CLinkManager.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

#include "comm/CNetworkAdapterFilter.h"
#include "libs/portlink/CPortLink.h"
#include "platform/CNetAdapters.h"
#include "platform/IPrompts.h"
#include "resources/CStringTable.h"
#include "resources/StringIds.h"

namespace corvane {
namespace {

constexpr int kAnswerWaitMs = 1000;  // bound on the manager handling our request
constexpr std::uint32_t kLocalHost = 0x7F000001;  // the manager runs on this machine

int Net(std::int32_t hostOrder) { return static_cast<int>(htonl(static_cast<std::uint32_t>(hostOrder))); }

void ShowOk(const std::string& text, const std::string& reason = {}) {
  Prompts().MessageBoxWithDetail(text, reason, LoadString(57344), PromptButtons::Ok, PromptIcon::Warning);
}

std::string RuntimeFolder() {
  if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) return dir;
  return "/tmp";
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

}  // namespace

CLinkManager::~CLinkManager() {
  if (m_answerFd >= 0) {
    ::close(m_answerFd);
    ::unlink(m_answerPath.c_str());
  }
}

void CLinkManager::FreeBusLink() {
  m_bus = BusLinkApi{};
  m_datagram = BusLinkDatagramCalls{};
  m_library.Unload();
}

bool CLinkManager::LoadBusLink(const std::string& exeFolder) {
  // By its bare name beside the executable, never from elsewhere on the system.
  const std::string folder = exeFolder.empty() ? std::string("./") : exeFolder;
  if (!m_library.Load(folder + "libBusLink.so")) {
    ShowOk("Can't load BusLink,\nProcess Terminate !!");
    return false;
  }
  auto** slots = reinterpret_cast<void**>(&m_bus);
  for (int i = 0; i < BUSLINK_NAME_COUNT; ++i) {
    void* fn = m_library.Symbol(BusLinkNames[i]);
    if (!fn) {
      const std::string name = BusLinkNames[i];
      ShowOk(name + " function not in BusLink.dll !!" + (name == "OpenModbusTCPSocket" ? "!" : ""));
      m_library.Unload();
      m_bus = {};
      return false;
    }
    slots[i] = fn;
  }
  m_datagram = {m_bus.CloseSocket, m_bus.SendData, m_bus.RecvData, m_bus.ReadSelect};
  return true;
}

void CLinkManager::EnumNetworkAdapters() {
  if (EnumAdapters) {
    EnumAdapters(AdapterNames, AdapterIPs);
  } else {
    CNetworkAdapterFilter::EnumNetworkAdapters(
        [] {
          AdapterQuery query;
          int error = 0;
          for (const platform::NetAdapter& a : platform::CNetAdapters().Enumerate(&error))
            query.adapters.push_back({a.type, a.description, a.firstIPv4});
          query.status = error;
          return query;
        },
        AdapterNames, AdapterIPs, std::cout);
  }
}

void CLinkManager::ApplyLinkSettings() {
  EnumNetworkAdapters();
  if (m_conf.NetInterface < 0 || static_cast<std::size_t>(m_conf.NetInterface) >= AdapterNames.size())
    m_conf.NetInterface = 0;
  m_conf.HostIPAddr = AdapterIPs.empty()
                          ? -1
                          : static_cast<std::int32_t>(CNetworkAdapterFilter::ParseDottedQuad(
                                AdapterIPs[static_cast<std::size_t>(m_conf.NetInterface)]));
  PushSettings(true);
}

void CLinkManager::PushSettings(bool withPorthubPort) {
  const int mode = m_conf.ModbusMode + 1;
  if (BusLoaded()) {
    m_bus.SetCommType(m_conf.CommType);
    m_bus.SetCOMPortNum(m_conf.ComPortNum);
    m_bus.SetStationAddr(m_conf.StationAddr);
    m_bus.SetModbusMode(mode);
    m_bus.SetCOMPortBaudrate(m_conf.BaudRate);
    m_bus.SetCOMPortParam(m_conf.DataLen, m_conf.Parity, m_conf.StopBits);
    m_bus.SetRemoteIPAddr(Net(m_conf.IPAddress));
    m_bus.SetHostIPAddr(Net(m_conf.HostIPAddr));
  }
  m_portLink.SetCommType(m_conf.CommType);
  m_portLink.SetSerialNum(m_conf.ComPortNum);
  m_portLink.SetStationAddr(m_conf.StationAddr);
  m_portLink.SetModbusMode(mode);
  m_portLink.SetSerialBaudrate(m_conf.BaudRate);
  m_portLink.SetSerialParams(m_conf.DataLen, m_conf.Parity, m_conf.StopBits);
  if (withPorthubPort) m_portLink.SetPorthubPort(m_conf.PorthubPort);
  m_portLink.SetRemoteIPAddr(Net(m_conf.IPAddress));
  m_portLink.SetHostIPAddr(Net(m_conf.HostIPAddr));
}

const int CLinkManager::kModbusTcpPort = 502;

CLink CLinkManager::OpenLink() {
  const std::optional<LinkType> type = ToLinkType(m_conf.CommType);
  if (!type) return {};
  switch (*type) {
    case LinkType::Serial: {
      m_portLink.SetModbusMode(m_conf.ModbusMode + 1);
      if (m_portLink.OpenSerial(m_conf.ComPortNum, m_conf.BaudRate, m_conf.DataLen, m_conf.Parity,
                                m_conf.StopBits) < 0) {
        // PortLink's reason: a device missing or refused, the program that holds the port, ...
        const std::string reason = m_portLink.LastErrorText();
        if (LogLine) LogLine(reason);
        ShowOk(LoadString(ids::kCannotOpenLink), reason);
        return {};
      }
      return CLink::PortLinkLink(m_portLink, LinkType::Serial, m_conf.ComPortNum);
    }
    case LinkType::Ethernet: {
      if (m_conf.IPAddress == 0 || m_conf.IPAddress == -1) {
        ShowOk(LoadString(ids::kInvalidIpAddress));
        return {};
      }
      const auto address = static_cast<std::uint32_t>(m_conf.IPAddress);
      CLink link = OpenModbusTcp(address);
      if (!link) ShowOk(LoadString(ids::kCannotOpenLink), ModbusTcpFailure(address));
      return link;
    }
    case LinkType::Manager: {
      if (QueryPorthubPort() < 1) {
        ShowOk(LoadString(ids::kCannotOpenLink));
        return {};
      }
      // The handle is the connection number whatever the connect gave: the manager's link is
      // judged by its answers.
      const int conn = m_portLink.GetSocketConnNum();
      m_portLink.OpenSocket(conn, 1, static_cast<int>(htonl(kLocalHost)), m_conf.PorthubPort, 0);
      return CLink::PortLinkLink(m_portLink, LinkType::Manager, conn);
    }
  }
  return {};
}

CLink CLinkManager::OpenDiscoveryLine() {
  if (m_portLink.OpenSerialEx(m_conf.ComPortNum, 19200, 10) <= 0) return {};
  return CLink::PortLinkLink(m_portLink, LinkType::Serial, m_conf.ComPortNum);
}

CLink CLinkManager::OpenDatagramSocket(std::uint32_t address, int port) {
  if (!m_bus.OpenSocket || m_bus.OpenSocket(2, static_cast<int>(htonl(address)), 0, port, 3) <= 0) return {};
  return CLink::BusLinkDatagram(m_datagram);
}

CLink CLinkManager::OpenModbusTcp(std::uint32_t address, const std::string& who) {
  m_portLink.SetModbusMode(m_conf.ModbusMode + 1);
  const int conn = m_portLink.GetSocketConnNum();
  if (conn < 0 || m_portLink.OpenSocket(conn, 1, static_cast<int>(htonl(address)), kModbusTcpPort, 0) < 0) {
    if (LogLine) LogLine(who + ModbusTcpFailure(address));
    return {};
  }
  return CLink::PortLinkLink(m_portLink, LinkType::Ethernet, conn);
}

std::string CLinkManager::ModbusTcpFailure(std::uint32_t address) {
  char text[96];
  std::snprintf(text, sizeof text, "Modbus TCP connection to %u.%u.%u.%u port %d was refused or timed out",
                address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF, address & 0xFF, kModbusTcpPort);
  return text;
}

CModbusTcpBatch CLinkManager::DeviceQueries() {
  m_portLink.SetModbusMode(m_conf.ModbusMode + 1);
  return CModbusTcpBatch(kModbusTcpPort, DeviceQueryLimits);
}

int CLinkManager::Lend(CLink link) {
  if (!link) return -1;
  const int handle = link.Handle();
  m_lent.push_back(std::move(link));
  return handle;
}

void CLinkManager::CloseLent(int handle) {
  for (auto it = m_lent.rbegin(); it != m_lent.rend(); ++it) {
    if (it->Handle() != handle) continue;
    m_lent.erase(std::next(it).base());
    return;
  }
}

std::string CLinkManager::PorthubSocketPath() { return RuntimeFolder() + "/PORTHUB"; }

bool CLinkManager::OpenAnswerSocket() {
  if (m_answerFd >= 0) return true;
  m_answerPath = RuntimeFolder() + "/corvane-frame-" + std::to_string(::getpid()) + ".sock";
  sockaddr_un address;
  if (!FillAddress(m_answerPath, address)) return false;
  ::unlink(m_answerPath.c_str());
  m_answerFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (m_answerFd < 0) return false;
  if (::bind(m_answerFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(m_answerFd, 8) != 0) {
    ::close(m_answerFd);
    m_answerFd = -1;
    return false;
  }
  return true;
}

void CLinkManager::AcceptPorthubAnswers() {
  if (m_answerFd < 0) return;
  for (;;) {
    const int fd = ::accept4(m_answerFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    char line[64] = {};
    std::size_t used = 0;
    pollfd p{fd, POLLIN, 0};
    while (used < sizeof line - 1 && ::poll(&p, 1, 200) > 0) {
      const ssize_t n = ::recv(fd, line + used, sizeof line - 1 - used, 0);
      if (n <= 0) break;
      used += static_cast<std::size_t>(n);
      if (std::memchr(line, '\n', used)) break;
    }
    ::close(fd);
    // "1225 <port>"; anything else is not an answer.
    if (std::strncmp(line, "1225 ", 5) == 0) {
      char* end = nullptr;
      const long port = std::strtol(line + 5, &end, 10);
      if (end != line + 5 && port >= 0 && port <= 65535) m_conf.PorthubPort = static_cast<std::int32_t>(port);
    }
  }
}

int CLinkManager::QueryPorthubPort(bool pauseForLateAnswer) {
  m_conf.PorthubPort = -1;
  sockaddr_un address;
  if (OpenAnswerSocket() && FillAddress(PorthubSocketPath(), address)) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
      if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "1224 " + m_answerPath + "\n";
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
          // The manager closes the request once it has answered: wait for that, bounded.
          pollfd p{fd, POLLIN, 0};
          char sink[64];
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
          while (std::chrono::steady_clock::now() < deadline) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) break;
            if (::recv(fd, sink, sizeof sink, 0) <= 0) break;
          }
        }
      }
      ::close(fd);
    }
    AcceptPorthubAnswers();
  }
  if (pauseForLateAnswer) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return m_conf.PorthubPort;
}

}  // namespace corvane
