// The response time (a user setting) and the per-port RS-485 mode, as stored and as every link
// of the process receives them.
#include "comm/CSerialLineSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/CRegStore.h"
#include "platform/CSerialPortMap.h"
#include "tests/comm/PeerHelpers.h"

namespace corvane::comm {
namespace {

namespace fs = std::filesystem;
using platform::CRegStore;
using platform::RegRoot;

class SerialLineSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-line-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root);
    ::setenv("PROGRAMDATA", m_root.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", m_root.c_str(), 1);
  }
  void TearDown() override {
    CPortLink::SetPortMap(nullptr);
    CPortLink::SetDefaultResponseTimeout(0);
    fs::remove_all(m_root);
  }
  fs::path m_root;
};

TEST_F(SerialLineSettingsTest, DefaultsStoredValuesAndBounds) {
  EXPECT_EQ(CSerialLineSettings::ResponseTime(), 1000);
  EXPECT_FALSE(CSerialLineSettings::Port(5).rs485);
  ASSERT_TRUE(CSerialLineSettings::SetResponseTime(2500));
  EXPECT_EQ(CSerialLineSettings::ResponseTime(), 2500);
  ASSERT_TRUE(CSerialLineSettings::SetPort(5, {true, 2, 3}));
  const PortLineSettings port = CSerialLineSettings::Port(5);
  EXPECT_TRUE(port.rs485);
  EXPECT_EQ(port.delayBeforeMs, 2);
  EXPECT_EQ(port.delayAfterMs, 3);
  EXPECT_FALSE(CSerialLineSettings::Port(6).rs485);  // per port
  // Values edited by hand are taken within their bounds.
  CRegStore store;
  ASSERT_EQ(store.SetDword(RegRoot::CurrentUser, "Software\\Zelmar\\Corvane\\Settings", "ResponseTime", 0xFFFFFFF0u), 0);
  EXPECT_EQ(CSerialLineSettings::ResponseTime(), CSerialLineSettings::kMinResponseMs);
  ASSERT_EQ(store.SetDword(RegRoot::LocalMachine, "SOFTWARE\\Zelmar\\Corvane\\Ports\\COM5", "RS485DelayAfterSend",
                           999999),
            0);
  EXPECT_EQ(CSerialLineSettings::Port(5).delayAfterMs, CSerialLineSettings::kMaxDelayMs);
}

TEST_F(SerialLineSettingsTest, EveryLinkOfTheProcessReceivesThem) {
  commtest::PtyPeer peer;
  ASSERT_TRUE(peer.Open());
  CRegStore store;
  ASSERT_EQ(store.SetString(RegRoot::LocalMachine, platform::CSerialPortMap::kPortsKey, "COM9", peer.slavePath), 0);
  ASSERT_TRUE(CSerialLineSettings::SetResponseTime(1800));
  CSerialLineSettings::Apply();
  CPortLink link;
  EXPECT_EQ(link.ResponseTimeout(), 1800);
  EXPECT_EQ(CSerialLineSettings::Spec(9).path, peer.slavePath);
  EXPECT_TRUE(CSerialLineSettings::Spec(10).path.empty());
  EXPECT_EQ(link.OpenSerial(9, 9600, 8, 0, 1), 9) << link.LastErrorText();
  link.CloseSerial(9);
  // RS-485 on: a pseudo-terminal has no such mode, and the open says so.
  ASSERT_TRUE(CSerialLineSettings::SetPort(9, {true, 0, 0}));
  EXPECT_LT(link.OpenSerial(9, 9600, 8, 0, 1), 0);
  EXPECT_NE(link.LastErrorText().find("RS-485"), std::string::npos) << link.LastErrorText();
}

}  // namespace
}  // namespace corvane::comm
