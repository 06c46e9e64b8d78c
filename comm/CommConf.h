#pragma once
// The one record of link settings and its section "CommConf" of CVN.ini.
#include <cstdint>

namespace corvane {

struct CommConf {
  std::int32_t CommType = 0;      // 0 serial, 1 Ethernet, 2 communication manager
  std::int32_t ComPortNum = 1;
  std::int32_t Parity = 2;        // 0 none, 1 odd, 2 even
  std::int32_t DataLen = 7;
  std::int32_t StopBits = 1;
  std::int32_t BaudRate = 9600;
  std::int32_t StationAddr = 0;
  std::int32_t ModbusMode = 0;    // 0 ASCII, 1 RTU; the libraries get ModbusMode + 1
  std::int32_t IPAddress = -1;    // first octet in the most significant byte; all bits = broadcast
  std::int32_t ReceiveWait = 500; // ms passed to ReadSelect; not stored
  std::int32_t PorthubPort = 0;
  std::int32_t PorthubDrv = -1;
  std::int32_t PorthubDrvID = -1;
  std::int32_t PorthubInter = 0;  // 1 RS-232, 2 USB, 3 Ethernet
  std::int32_t PorthubCOM = 0;
  std::int32_t NetInterface = 0;
  std::int32_t HostIPAddr = -1;
};

// The stored keys in the order they are read and written.
struct CommConfKey {
  const char* key;
  std::int32_t CommConf::*field;
  int base;
  std::int32_t fallback;
};

inline constexpr const char* kCommConfSection = "CommConf";
inline constexpr CommConfKey kCommConfKeys[] = {
    {"CommType", &CommConf::CommType, 10, 0},         {"ComPortNum", &CommConf::ComPortNum, 10, 0},
    {"DataLen", &CommConf::DataLen, 10, 7},           {"Parity", &CommConf::Parity, 10, 2},
    {"StopBits", &CommConf::StopBits, 10, 1},         {"BaudRate", &CommConf::BaudRate, 10, 9600},
    {"StationAddr", &CommConf::StationAddr, 10, 0},   {"ModbusMode", &CommConf::ModbusMode, 10, 0},
    {"IPAddress", &CommConf::IPAddress, 16, -1},      {"NetInterface", &CommConf::NetInterface, 10, 0},
    {"HostIPAddr", &CommConf::HostIPAddr, 16, -1},    {"PorthubPort", &CommConf::PorthubPort, 10, 0},
    {"PorthubDrv", &CommConf::PorthubDrv, 10, -1},    {"PorthubDrvID", &CommConf::PorthubDrvID, 10, -1},
    {"PorthubInter", &CommConf::PorthubInter, 10, 0}, {"PorthubCOM", &CommConf::PorthubCOM, 10, 1},
};

// Ini: the settings accessor (CIni): GetInt(section, key, default, base), WriteInt(section, key, value, base).
template <class Ini>
void LoadCommConf(Ini& ini, CommConf& conf) {
  for (const CommConfKey& k : kCommConfKeys)
    conf.*k.field = static_cast<std::int32_t>(ini.GetInt(kCommConfSection, k.key, k.fallback, k.base));
}

template <class Ini>
void SaveCommConf(Ini& ini, const CommConf& conf) {
  for (const CommConfKey& k : kCommConfKeys) ini.WriteInt(kCommConfSection, k.key, conf.*k.field, k.base);
}

}  // namespace corvane
