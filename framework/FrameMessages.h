#pragma once
// Messages that modules, child frames and the communication manager send to the main frame.
#include <cstdint>

namespace corvane {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_MAINFRAME_TEST = WM_USER + 100;      // 0x464: connection test box
inline constexpr unsigned WM_MODULE_CLOSED = WM_USER + 102;       // 0x466: a module window closes
inline constexpr unsigned WM_OUTPUT_ADD_LINE = WM_USER + 104;     // 0x468: lParam is a const char*
inline constexpr unsigned WM_OUTPUT_CLEAR = WM_USER + 105;        // 0x469
inline constexpr unsigned WM_REFRESH_LINK_STATUS = WM_USER + 106; // 0x46A
inline constexpr unsigned WM_PORTHUB_PORT = WM_USER + 201;        // 0x4C9: wParam is the port

}  // namespace corvane
