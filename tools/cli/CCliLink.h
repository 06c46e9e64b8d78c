#pragma once
// The open link of one corvane-cli command: a serial line or a Modbus TCP connection of its own
// CPortLink, and the Modbus client over it. Closed on destruction.
#include <memory>
#include <string>

#include "libs/portlink/CPortLink.h"
#include "modbus/CPortLinkClient.h"
#include "tools/cli/LinkSpec.h"

namespace corvane::cli {

class CCliContext;
class CArgs;
struct CommandInfo;

class CCliLink {
public:
  // The link the options, the target and CVN.ini name, opened; a usage error (2) or a link that
  // cannot be opened (3) is reported on the context's error stream and its status returned.
  static int OpenFor(CCliContext& context, const CommandInfo& command, const CArgs& args, const std::string& target,
                     std::unique_ptr<CCliLink>& link);

  explicit CCliLink(LinkSpec spec);
  ~CCliLink();
  CCliLink(const CCliLink&) = delete;
  CCliLink& operator=(const CCliLink&) = delete;

  // Empty when the link is open, else why it is not, in words.
  std::string Open();
  // A serial line opened again with another speed and format (the scan's settings).
  std::string Reopen(const LinkSpec& spec);
  void Close();

  bool IsOpen() const { return m_handle >= 0; }
  const LinkSpec& Spec() const { return m_spec; }
  IModbusClient& Client() { return *m_client; }

private:
  int TypeNumber() const { return m_spec.kind == LinkSpec::Kind::Tcp ? 1 : 0; }

  LinkSpec m_spec;
  CPortLink m_link;
  int m_handle = -1;
  std::unique_ptr<CPortLinkClient> m_client;
};

}  // namespace corvane::cli
