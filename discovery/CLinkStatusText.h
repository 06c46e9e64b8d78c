#pragma once
// The texts of the status bar's link panes (link type, address) for the current link settings.
#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// The link fields the status panes read.
struct LinkStatusInput {
  int CommType = 0;                    // 0 serial, 1 Ethernet, 2 communication manager
  int ComPortNum = 1;
  std::uint32_t IPAddress = 0xFFFFFFFF;  // first octet in the most significant byte
  int PorthubDrv = -1;
  int PorthubInter = 0;                // 1 RS-232, 2 USB, 3 Ethernet
  int PorthubCOM = 0;
  bool m_bLinkPreset = false;
};

struct LinkStatusText {
  std::string linkType;  // pane 15000
  std::string address;   // pane 15001, at most kMaxAddressLength characters
};

class CLinkStatusText {
public:
  static constexpr std::size_t kMaxAddressLength = 23;
  // Nothing for an unknown link type: the panes keep what they show.
  static std::optional<LinkStatusText> Make(const LinkStatusInput& link);
};

}  // namespace corvane
