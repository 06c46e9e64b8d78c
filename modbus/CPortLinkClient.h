#pragma once
// IModbusClient over one open link of a CPortLink: a serial line (handle: the COM port number)
// or a Modbus TCP connection (the connection number).
#include "modbus/IModbusClient.h"

class CPortLink;

namespace corvane {

class CPortLinkClient final : public IModbusClient {
public:
  // linkType: 0 serial, 1 Modbus TCP (CPortLink's numbers).
  CPortLinkClient(CPortLink& link, int linkType, int handle) : m_link(link), m_type(linkType), m_handle(handle) {}

  ModbusAnswer Transact(std::uint8_t station, std::uint8_t function, std::span<const std::uint8_t> data) override;

private:
  CPortLink& m_link;
  int m_type;
  int m_handle;
};

}  // namespace corvane
