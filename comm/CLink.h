#pragma once
// One open link, owned: its type, its handle and what was opened (a line or socket of PortLink,
// or BusLink's datagram socket). Closing undoes exactly what was opened, whatever the link
// settings say by then; destruction closes. The connection management (CLinkManager) makes
// them. Header-only on purpose: a module holds one across the library boundary, and the close
// it runs is PortLink's, which the program and every module share.
#include <utility>

#include "comm/LinkType.h"
#include "libs/portlink/CPortLink.h"

namespace corvane {

// BusLink's datagram socket as a link reaches it: its entry points, held by the connection
// management and cleared when BusLink is freed.
struct BusLinkDatagramCalls {
  void (*close)() = nullptr;
  int (*send)(const unsigned char*, int) = nullptr;
  int (*recv)(unsigned char*, int) = nullptr;
  int (*wait)(int) = nullptr;
};

class CLink {
public:
  enum class Opened { Nothing, SerialLine, Socket, BusLinkDatagram };

  CLink() noexcept = default;
  // A serial line (handle: the COM port number) or a socket (the connection number) of PortLink.
  static CLink PortLinkLink(CPortLink& portLink, LinkType type, int handle) noexcept {
    CLink link;
    link.m_opened = type == LinkType::Serial ? Opened::SerialLine : Opened::Socket;
    link.m_type = type;
    link.m_handle = handle;
    link.m_portLink = &portLink;
    return link;
  }
  // BusLink's one datagram socket (BusLink keeps a single socket per process).
  static CLink BusLinkDatagram(const BusLinkDatagramCalls& bus) noexcept {
    CLink link;
    link.m_opened = Opened::BusLinkDatagram;
    link.m_type = LinkType::Ethernet;
    link.m_handle = 0;
    link.m_bus = &bus;
    return link;
  }

  ~CLink() { Close(); }
  CLink(CLink&& other) noexcept { Take(other); }
  CLink& operator=(CLink&& other) noexcept {
    if (this != &other) {
      Close();
      Take(other);
    }
    return *this;
  }
  CLink(const CLink&) = delete;
  CLink& operator=(const CLink&) = delete;

  bool IsOpen() const noexcept { return m_opened != Opened::Nothing; }
  explicit operator bool() const noexcept { return IsOpen(); }
  Opened What() const noexcept { return m_opened; }
  LinkType Type() const noexcept { return m_type; }
  // The link-type argument of CPortLink's calls.
  int TypeNumber() const noexcept { return LinkTypeNumber(m_type); }
  // The COM port or connection number; -1 when nothing is open.
  int Handle() const noexcept { return m_handle; }
  // The PortLink object the line or socket belongs to; null otherwise.
  CPortLink* PortLink() const noexcept { return m_portLink; }

  void Close() noexcept {
    switch (m_opened) {
      case Opened::SerialLine: m_portLink->CloseSerial(m_handle); break;
      case Opened::Socket: m_portLink->CloseSocket(m_handle); break;
      case Opened::BusLinkDatagram:
        if (m_bus->close) m_bus->close();
        break;
      case Opened::Nothing: break;
    }
    Reset();
  }

  // Traffic. Results as the libraries give them: non-positive means failure.
  int Request(int function, const unsigned char* data, int length) {
    return m_portLink ? m_portLink->Request(TypeNumber(), m_handle, 0, function, data, length) : -1;
  }
  int Response(unsigned char* buffer, int* function = nullptr, int* count = nullptr) {
    return m_portLink ? m_portLink->Response(TypeNumber(), m_handle, function, count, buffer) : -1;
  }
  int SendData(const unsigned char* data, int length) {
    if (m_opened == Opened::BusLinkDatagram) return m_bus->send ? m_bus->send(data, length) : -1;
    return m_portLink ? m_portLink->SendData(TypeNumber(), m_handle, data, length) : -1;
  }
  // buffer holds `size` bytes (CPortLink::kBufferSize for PortLink's links).
  int RecvData(unsigned char* buffer, int size) {
    if (m_opened == Opened::BusLinkDatagram) return m_bus->recv ? m_bus->recv(buffer, size) : -1;
    return m_portLink ? m_portLink->RecvData(TypeNumber(), m_handle, buffer, size) : -1;
  }
  // 1 when input waits, 0 after timeoutMs without any, negative when nothing is open.
  int WaitReadable(int timeoutMs) {
    if (m_opened == Opened::BusLinkDatagram) return m_bus->wait ? m_bus->wait(timeoutMs) : -1;
    return m_portLink ? m_portLink->WaitReadable(TypeNumber(), m_handle, timeoutMs) : -1;
  }
  int SendPORTHUB(int command, int driverId, int address, int port, const unsigned char* data, int length) {
    return m_portLink ? m_portLink->SendPORTHUB(m_handle, command, driverId, address, port, data, length) : -1;
  }
  // buffer of CPortLink::kBufferSize.
  int RecvPORTHUB(int* source, unsigned char* buffer) {
    return m_portLink ? m_portLink->RecvPORTHUB(m_handle, source, buffer) : -1;
  }

private:
  void Take(CLink& other) noexcept {
    m_opened = other.m_opened;
    m_type = other.m_type;
    m_handle = other.m_handle;
    m_portLink = other.m_portLink;
    m_bus = other.m_bus;
    other.Reset();
  }
  void Reset() noexcept {
    m_opened = Opened::Nothing;
    m_type = LinkType::Serial;
    m_handle = -1;
    m_portLink = nullptr;
    m_bus = nullptr;
  }

  Opened m_opened = Opened::Nothing;
  LinkType m_type = LinkType::Serial;
  int m_handle = -1;
  CPortLink* m_portLink = nullptr;
  const BusLinkDatagramCalls* m_bus = nullptr;
};

}  // namespace corvane
