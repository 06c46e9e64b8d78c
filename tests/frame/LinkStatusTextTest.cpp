#include "discovery/CLinkStatusText.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Row {
  const char* name;
  LinkStatusInput in;
  const char* type;
  const char* address;
};

LinkStatusInput Link(int type, int port, std::uint32_t ip, int drv, int inter, int com, bool preset) {
  LinkStatusInput in;
  in.CommType = type;
  in.ComPortNum = port;
  in.IPAddress = ip;
  in.PorthubDrv = drv;
  in.PorthubInter = inter;
  in.PorthubCOM = com;
  in.m_bLinkPreset = preset;
  return in;
}

const Row kRows[] = {
    {"serial", Link(0, 3, 0, -1, 0, 0, false), "RS-232", "COM3"},
    {"serial high port", Link(0, 256, 0, -1, 0, 0, false), "RS-232", "COM256"},
    {"ethernet address", Link(1, 1, 0xC0A80105, -1, 0, 0, false), "Ethernet", "192.168.1.5"},
    {"ethernet top octets", Link(1, 1, 0xFFFFFFFE, -1, 0, 0, false), "Ethernet", "255.255.255.254"},
    {"ethernet broadcast", Link(1, 1, 0xFFFFFFFF, -1, 0, 0, false), "Ethernet", "BROADCAST"},
    {"ethernet broadcast with preset", Link(1, 1, 0xFFFFFFFF, -1, 0, 0, true), "Ethernet", "BROADCAST"},
    {"ethernet preset hides address", Link(1, 1, 0xC0A80105, -1, 0, 0, true), "Ethernet", ""},
    {"manager rs232", Link(2, 1, 0, 2, 1, 7, false), "Driver2", "[RS232: COM7]"},
    {"manager usb", Link(2, 1, 0, -1, 2, 4, false), "Driver-1", "[USB: COM4]"},
    {"manager ethernet", Link(2, 1, 0, 0, 3, 4, false), "Driver0", "[Ethernet]"},
    {"manager unknown interface", Link(2, 1, 0, 5, 0, 4, false), "Driver5", ""},
    {"manager interface 4", Link(2, 1, 0, 5, 4, 4, false), "Driver5", ""},
    {"longest address is exactly 23", Link(2, 1, 0, 1, 1, -2147483647 - 1, false), "Driver1",
     "[RS232: COM-2147483648]"},
};

TEST(LinkStatusText, TableOfLinkTypes) {
  for (const Row& r : kRows) {
    SCOPED_TRACE(r.name);
    const auto t = CLinkStatusText::Make(r.in);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->linkType, r.type);
    EXPECT_EQ(t->address, r.address);
    EXPECT_LE(t->address.size(), CLinkStatusText::kMaxAddressLength);
  }
}

TEST(LinkStatusText, UnknownTypeWritesNothing) {
  for (int type : {-1, 3, 99}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(CLinkStatusText::Make(Link(type, 1, 0, 0, 1, 1, false)).has_value());
  }
}

}  // namespace
}  // namespace corvane
