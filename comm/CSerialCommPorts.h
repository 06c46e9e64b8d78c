#pragma once
// The serial port names ("COM3") the machine's serial-port map lists, as its values' data.
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
};

}  // namespace corvane::comm
