#include "modbus/CPortLinkClient.h"

#include <array>

#include "libs/portlink/CPortLink.h"

namespace corvane {

ModbusAnswer CPortLinkClient::Transact(std::uint8_t station, std::uint8_t function, std::span<const std::uint8_t> data) {
  ModbusAnswer answer;
  m_link.SetStationAddr(station);
  const int sent = m_link.Request(m_type, m_handle, 0, function, data.data(), static_cast<int>(data.size()));
  if (sent <= 0) {
    answer.result = sent < 0 ? sent : modbus::kIo;
    return answer;
  }
  std::array<unsigned char, CPortLink::kBufferSize> buffer{};
  answer.result = m_link.Response(m_type, m_handle, nullptr, nullptr, buffer.data());
  if (answer.result > 0) answer.data.assign(buffer.begin(), buffer.begin() + answer.result);
  if (answer.result == modbus::kException) answer.exception = m_link.LastException();
  return answer;
}

}  // namespace corvane
