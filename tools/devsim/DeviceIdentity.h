#pragma once
// The server side of Read Device Identification (function 43, MEI type 14): basic (objects 0-2),
// regular (3-6) and one object, split over several replies ("more follows") when they do not fit one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::devsim {

using Bytes = std::vector<std::uint8_t>;

class DeviceIdentity {
 public:
  // The reply PDU to a request PDU of function 43.
  static Bytes Answer(const std::vector<std::string>& objects, const std::uint8_t* pdu, std::size_t size);
};

}  // namespace corvane::devsim
