#pragma once
// The serial port names ("COM3") the machine's serial-port map lists, as its values' data.
#include <map>
#include <string>
#include <vector>

namespace corvane::comm {

class CSerialCommPorts {
public:
  // The buffers the map is read with; a longer name or data is skipped.
  static constexpr std::size_t kMaxNameChars = 256;
  static constexpr std::size_t kMaxDataBytes = 256;

  // In the map's value order; empty when the key does not open.
  static std::vector<std::string> List();
  // Which device each port of this machine's port map is ("COM17" -> its by-id name, or driver
  // and path), for showing beside the names.
  static std::map<std::string, std::string> Descriptions();
};

}  // namespace corvane::comm
