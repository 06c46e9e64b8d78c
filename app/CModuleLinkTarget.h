#pragma once
// Which device a module talks to over Ethernet. A broadcast search leaves the frame's target at
// 255.255.255.255; the module's own device is in the search's reply table.
#include <cstdint>
#include <string>

namespace corvane {

class CReplyTable;

// The module code's record with a usable address; else the one usable address of the table (a
// sub-module's carrier when one device answered); else the frame's target when it names one
// device. 0 when none of these names a single device.
std::uint32_t ModuleDeviceAddress(const std::string& moduleCode, const CReplyTable& replies, std::uint32_t target);

}  // namespace corvane
