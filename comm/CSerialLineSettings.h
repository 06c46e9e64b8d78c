#pragma once
// What a serial link needs beyond the communication setting dialog's controls:
// - the device's response time, a user setting: HKEY_CURRENT_USER\Software\Zelmar\Corvane\Settings,
//   "ResponseTime" in milliseconds (default 1000, 50 to 60000);
// - per port, the kernel's RS-485 mode (RTS raised while sending), off unless set:
//   HKEY_LOCAL_MACHINE\SOFTWARE\Zelmar\Corvane\Ports\COMn, "RS485" (1 on),
//   "RS485DelayBeforeSend" and "RS485DelayAfterSend" in milliseconds (0 to 1000).
// Apply hands both, with the port map, to every CPortLink of the process (BusLink's too).
#include <string>

#include "libs/portlink/CPortLink.h"

namespace corvane::comm {

struct PortLineSettings {
  bool rs485 = false;
  int delayBeforeMs = 0;
  int delayAfterMs = 0;
};

class CSerialLineSettings {
public:
  static constexpr int kDefaultResponseMs = CPortLink::kDefaultResponseMs;
  static constexpr int kMinResponseMs = 50;
  static constexpr int kMaxResponseMs = 60000;
  static constexpr int kMaxDelayMs = 1000;

  static int ResponseTime();
  static bool SetResponseTime(int ms);
  static PortLineSettings Port(int com);
  static bool SetPort(int com, const PortLineSettings& settings);
  // COMn's device from the port map, with its RS-485 setting.
  static CPortLink::PortSpec Spec(int com);
  static void Apply();
};

}  // namespace corvane::comm
