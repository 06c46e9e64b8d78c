#pragma once
// Read Device Identification (function 43, MEI type 14): the request, the decoder of one reply,
// and the read of a whole category that follows the device's "more follows" in steps.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "modbus/IModbusClient.h"
#include "registers/Checked.h"

namespace corvane {

struct DeviceIdObject {
  std::uint8_t id = 0;
  std::string value;  // the device's bytes as sent; not necessarily printable
};

struct DeviceIdReply {
  std::uint8_t readCode = 0;    // 1 basic, 2 regular, 3 extended, 4 one object
  std::uint8_t conformity = 0;  // the categories the device offers
  bool moreFollows = false;
  std::uint8_t nextObject = 0;
  std::vector<DeviceIdObject> objects;
};

class CDeviceIdentification {
public:
  static constexpr std::uint8_t kFunction = 43;
  static constexpr std::uint8_t kMeiType = 14;
  static constexpr std::uint8_t kBasic = 1;
  static constexpr std::uint8_t kRegular = 2;

  // The request's data after the function code.
  static std::array<std::uint8_t, 3> Request(std::uint8_t readCode, std::uint8_t objectId);
  // One reply's data after the function code; every length checked against what arrived.
  static Checked<DeviceIdReply> Decode(std::span<const std::uint8_t> data);
  // "VendorName", "ProductCode", ... for the standard objects; "" for the others.
  static std::string_view ObjectName(std::uint8_t id);

  // The basic objects, and the regular ones where the device says it has them, in object order.
  // An error names the cause: no answer, an exception (the device has no identification), a
  // malformed reply, or a device whose "more follows" does not move forward.
  static Checked<std::vector<DeviceIdObject>> Read(IModbusClient& client, std::uint8_t station);

private:
  static std::string ReadCategory(IModbusClient& client, std::uint8_t station, std::uint8_t readCode,
                                  std::uint8_t first, std::vector<DeviceIdObject>& objects, std::uint8_t& conformity);
};

}  // namespace corvane
