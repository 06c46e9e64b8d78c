#include "modbus/CDeviceIdentification.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::size_t kHeader = 6;  // MEI type, read code, conformity, more follows, next object, count

}  // namespace

std::array<std::uint8_t, 3> CDeviceIdentification::Request(std::uint8_t readCode, std::uint8_t objectId) {
  return {kMeiType, readCode, objectId};
}

Checked<DeviceIdReply> CDeviceIdentification::Decode(std::span<const std::uint8_t> data) {
  using Fail = Checked<DeviceIdReply>;
  if (data.size() < kHeader) return Fail::Fail("identification reply of " + std::to_string(data.size()) + " bytes is too short");
  if (data[0] != kMeiType) return Fail::Fail("identification reply of MEI type " + std::to_string(data[0]));
  if (data[3] != 0x00 && data[3] != 0xFF) return Fail::Fail("identification reply with a bad \"more follows\" byte");
  DeviceIdReply reply;
  reply.readCode = data[1];
  reply.conformity = data[2];
  reply.moreFollows = data[3] == 0xFF;
  reply.nextObject = data[4];
  const std::size_t count = data[5];
  std::size_t at = kHeader;
  for (std::size_t i = 0; i < count; ++i) {
    if (at + 2 > data.size()) return Fail::Fail("identification reply ends inside object " + std::to_string(i + 1));
    const std::uint8_t id = data[at];
    const std::size_t length = data[at + 1];
    at += 2;
    if (at + length > data.size())
      return Fail::Fail("identification object " + std::to_string(id) + " runs past the end of the reply");
    reply.objects.push_back({id, std::string(data.begin() + static_cast<std::ptrdiff_t>(at),
                                             data.begin() + static_cast<std::ptrdiff_t>(at + length))});
    at += length;
  }
  if (at != data.size()) return Fail::Fail("identification reply carries bytes after its last object");
  return reply;
}

std::string_view CDeviceIdentification::ObjectName(std::uint8_t id) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "VendorName", "ProductCode", "MajorMinorRevision", "VendorUrl", "ProductName", "ModelName", "UserApplicationName"};
  return id < kNames.size() ? kNames[id] : std::string_view();
}

std::string CDeviceIdentification::ReadCategory(IModbusClient& client, std::uint8_t station, std::uint8_t readCode,
                                                std::uint8_t first, std::vector<DeviceIdObject>& objects,
                                                std::uint8_t& conformity) {
  int next = first;
  // Each step must start at a higher object than the one before, so at most 256 steps.
  for (int asked = -1; next > asked;) {
    asked = next;
    const auto request = Request(readCode, static_cast<std::uint8_t>(asked));
    const ModbusAnswer answer = client.Transact(station, kFunction, request);
    if (answer.result <= 0) return answer.FailureText();
    const auto reply = Decode(answer.data);
    if (!reply) return reply.Error();
    conformity = reply->conformity;
    for (const DeviceIdObject& o : reply->objects)
      if (std::none_of(objects.begin(), objects.end(), [&](const DeviceIdObject& k) { return k.id == o.id; }))
        objects.push_back(o);
    if (!reply->moreFollows) return {};
    next = reply->nextObject;
  }
  return "the device's \"more follows\" does not move on past object " + std::to_string(next);
}

Checked<std::vector<DeviceIdObject>> CDeviceIdentification::Read(IModbusClient& client, std::uint8_t station) {
  std::vector<DeviceIdObject> objects;
  std::uint8_t conformity = 0;
  if (std::string why = ReadCategory(client, station, kBasic, 0, objects, conformity); !why.empty())
    return Checked<std::vector<DeviceIdObject>>::Fail(why);
  // The regular objects start at 3; a device that offers them says so in its conformity level.
  if ((conformity & 0x7F) >= kRegular) {
    std::uint8_t ignored = 0;
    ReadCategory(client, station, kRegular, 3, objects, ignored);  // the basic objects stand on their own
  }
  std::sort(objects.begin(), objects.end(), [](const DeviceIdObject& a, const DeviceIdObject& b) { return a.id < b.id; });
  return objects;
}

}  // namespace corvane
