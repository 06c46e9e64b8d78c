#pragma once
// The link preset another program passes with five command-line fields:
// language, keep-flag, link type, port or address, module code or device identity.
#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

struct LinkPreset {
  std::optional<int> commType;          // set only when field 2 is "0" and field 3 is 0 or 1
  std::optional<int> comPortNum;        // serial
  std::optional<std::uint32_t> ipAddress;  // Ethernet, first octet in the most significant byte
  std::string moduleCode;               // field 5 after the device identity table
};

// Integer value of a field as the start-up reads it: leading blanks, sign, digits; 0 if none.
int FieldToInt(const std::string& field);

// Dotted IPv4 to host order; an unreadable address gives all ones.
std::uint32_t DottedToHost(const std::string& dotted);

// The 16-character device identity replaced by its module code; other codes unchanged.
std::string MapDeviceIdentity(const std::string& code);

// Fields 1..5 (missing ones read as empty).
LinkPreset ParseLinkPreset(const std::string& field2, const std::string& field3,
                           const std::string& field4, const std::string& field5);

}  // namespace corvane
