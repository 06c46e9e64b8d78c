#pragma once
// Names for the string-table entries the link and the searches show.
namespace corvane::ids {

inline constexpr unsigned kProcessing = 501;        // "Processing..."
inline constexpr unsigned kModuleSearching = 502;   // "\nModule Searching..."
inline constexpr unsigned kCannotOpenLink = 503;    // "Cannot open the specified communication!"
inline constexpr unsigned kDeviceNotFound = 504;    // "Device not found! Please check the device connection."
inline constexpr unsigned kInvalidIpAddress = 508;  // "Invalid IP Address! IP address cannot be 0.0.0.0 or ..."

}  // namespace corvane::ids
