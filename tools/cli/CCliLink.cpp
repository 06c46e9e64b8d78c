#include "tools/cli/CCliLink.h"

#include <arpa/inet.h>

#include "libs/portlink/ModbusFrame.h"
#include "comm/CSerialLineSettings.h"
#include "tools/cli/CCliContext.h"
#include "tools/cli/CLinkOptions.h"
#include "tools/cli/CommandInfo.h"
#include "tools/cli/ExitStatus.h"

namespace corvane::cli {
namespace {

// A device path is opened under this port number of our own CPortLink.
constexpr int kPathPort = 1;

}  // namespace

int CCliLink::OpenFor(CCliContext& context, const CommandInfo& command, const CArgs& args, const std::string& target,
                      std::unique_ptr<CCliLink>& link) {
  const auto spec = CLinkOptions::Resolve(args, target, context.LoadSettings());
  if (!spec) return context.UsageError(command, spec.Error());
  link = std::make_unique<CCliLink>(*spec);
  if (const std::string why = link->Open(); !why.empty()) return context.Fail(command, why, kExitLinkFailed);
  return kExitOk;
}

CCliLink::CCliLink(LinkSpec spec) : m_spec(std::move(spec)) {
  // COMn through the process's port map (with its RS-485 setting); a path as given.
  if (m_spec.comPort <= 0) m_link.SetPortResolver([path = m_spec.devicePath](int) { return path; });
}

CCliLink::~CCliLink() { Close(); }

void CCliLink::Close() {
  if (m_handle < 0) return;
  if (m_spec.kind == LinkSpec::Kind::Tcp) m_link.CloseSocket(m_handle);
  else m_link.CloseSerial(m_handle);
  m_handle = -1;
  m_client.reset();
}

std::string CCliLink::Open() {
  Close();
  // The port map and the response time the program uses.
  comm::CSerialLineSettings::Apply();
  m_link.SetResponseTimeout(m_spec.timeoutMs);
  if (m_spec.kind == LinkSpec::Kind::Tcp) {
    const int conn = m_link.GetSocketConnNum();
    if (m_link.OpenSocket(conn, 1, static_cast<int>(htonl(m_spec.ip)), m_spec.tcpPort, 0) < 0)
      return m_spec.Name() + ": " + m_link.LastErrorText();
    m_handle = conn;
  } else {
    const int port = m_spec.comPort > 0 ? m_spec.comPort : kPathPort;
    m_link.SetModbusMode(m_spec.mode);
    if (m_link.OpenSerial(port, m_spec.baud, m_spec.dataBits, m_spec.parity, m_spec.stopBits) < 0) {
      // PortLink names the port and the cause (no device, permissions, the program that holds it).
      const std::string why = m_link.LastErrorText();
      const std::string opened = "COM" + std::to_string(kPathPort) + ": ";
      return m_spec.comPort > 0 || why.rfind(opened, 0) != 0 ? why : why.substr(opened.size());
    }
    m_handle = port;
  }
  m_client = std::make_unique<CPortLinkClient>(m_link, TypeNumber(), m_handle);
  return {};
}

std::string CCliLink::Reopen(const LinkSpec& spec) {
  m_spec = spec;
  return Open();
}

}  // namespace corvane::cli
