#pragma once
// What one simulated device holds: its four Modbus tables and its identification objects.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvane::devsim {

struct DeviceTables {
  std::map<std::uint16_t, std::uint16_t> holding;
  std::map<std::uint16_t, std::uint16_t> input;
  std::map<std::uint16_t, bool> coils;
  std::map<std::uint16_t, bool> discrete;
  // Objects 0, 1, 2, ... of Read Device Identification; empty: the device has none (exception 1).
  std::vector<std::string> ident;
};

}  // namespace corvane::devsim
