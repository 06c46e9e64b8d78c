#pragma once
// Modbus slave side: answering a PDU and framing it for RTU, ASCII and TCP.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/devsim/DeviceTables.h"

namespace corvane::devsim {

using Bytes = std::vector<std::uint8_t>;

class ModbusCodec {
 public:
  static constexpr std::uint8_t kIdentityFunction = 0x67;
  static constexpr std::uint8_t kReadDeviceId = 43;

  // The reply PDU for a request PDU: functions 1, 2, 3, 4 and 0x67 read, 5, 6, 15 and 16 write,
  // 43 reads the identification.
  static Bytes Answer(DeviceTables& tables, const std::uint8_t* pdu, std::size_t size);
  static Bytes Exception(std::uint8_t function, std::uint8_t code);

  static Bytes FrameRtu(std::uint8_t station, const Bytes& pdu, bool badCheck);
  static Bytes FrameAscii(std::uint8_t station, const Bytes& pdu, bool badCheck);
  static Bytes FrameTcp(std::uint16_t transaction, std::uint8_t unit, const Bytes& pdu);

  // Whole RTU frame with its CRC (low byte first) correct.
  static bool RtuCrcOk(const std::uint8_t* frame, std::size_t size);
  // Text between ':' and CR LF into station + PDU; false on bad hex or LRC.
  static bool DecodeAscii(const std::string& text, Bytes& adu);
  static std::uint8_t Lrc(const std::uint8_t* data, std::size_t size);
};

}  // namespace corvane::devsim
