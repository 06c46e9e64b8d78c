#pragma once
// One simulated device: identity, addresses, holding registers and faults.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/devsim/DeviceTables.h"
#include "tools/devsim/FaultSet.h"

namespace corvane::devsim {

struct DeviceSpec {
  std::uint16_t code = 0x0015;
  std::uint8_t station = 1;
  std::uint32_t ip = 0x7F000001;  // first octet in the most significant byte
  int tcpPort = -1;               // -1: the global Modbus TCP port
  std::vector<std::uint16_t> subModules;
  std::map<std::uint16_t, std::uint16_t> registers;  // explicit reg= values
  std::map<std::uint16_t, std::uint16_t> inputs;     // input= values
  std::map<std::uint16_t, bool> coils;               // coil= values
  std::map<std::uint16_t, bool> discrete;            // discrete= values
  std::vector<std::string> ident;                    // ident= objects; empty with identNone
  bool identNone = false;
  std::string faultText;
  FaultSet faults;  // global faults, then this device's

  // "code=0x0015 station=1 ip=127.0.0.2 port=1502 sub=0x4041,0x4042 reg=0x1000:7 fault=late:100";
  // a leading word "device" is allowed.
  bool Parse(const std::string& line, std::string& error);
  // Identity registers, the sub-module list and explicit registers merged; the other tables and
  // the identification objects (by default vendor "Zelmar", the code as product, revision "1.00").
  DeviceTables InitialTables() const;
  std::uint16_t SubModuleBase() const { return (code == 0x0022 || code == 0x0023) ? 0xC608 : 0x156A; }
};

}  // namespace corvane::devsim
