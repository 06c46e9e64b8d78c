#include "comm/CommConf.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "comm/CNetworkAdapterFilter.h"

using namespace corvane;

namespace {

// Records the calls the record makes, in order; answers reads from a key table.
struct RecordingIni {
  std::map<std::string, long> values;
  std::vector<std::string> reads, writes;
  long GetInt(const std::string& section, const std::string& key, long fallback, int base) {
    reads.push_back(section + "/" + key + "/" + std::to_string(base));
    auto it = values.find(key);
    return it == values.end() ? fallback : it->second;
  }
  void WriteInt(const std::string& section, const std::string& key, long value, int base) {
    writes.push_back(section + "/" + key + "/" + std::to_string(base) + "=" + std::to_string(value));
  }
};

const std::vector<std::string> kOrder = {"CommType", "ComPortNum", "DataLen", "Parity", "StopBits", "BaudRate",
                                         "StationAddr", "ModbusMode", "IPAddress", "NetInterface", "HostIPAddr",
                                         "PorthubPort", "PorthubDrv", "PorthubDrvID", "PorthubInter", "PorthubCOM"};

TEST(CommConf, CreationValues) {
  const CommConf c;
  EXPECT_EQ(c.ComPortNum, 1);
  EXPECT_EQ(c.PorthubCOM, 0);
  EXPECT_EQ(c.Parity, 2);
  EXPECT_EQ(c.DataLen, 7);
  EXPECT_EQ(c.BaudRate, 9600);
  EXPECT_EQ(static_cast<std::uint32_t>(c.IPAddress), 0xFFFFFFFFu);
  EXPECT_EQ(static_cast<std::uint32_t>(c.HostIPAddr), 0xFFFFFFFFu);
  EXPECT_EQ(c.ReceiveWait, 500);
  EXPECT_EQ(c.PorthubDrv, -1);
}

TEST(CommConf, MissingSectionLoadsFileDefaults) {
  RecordingIni ini;
  CommConf c;
  c.CommType = 2;
  LoadCommConf(ini, c);
  EXPECT_EQ(c.CommType, 0);
  EXPECT_EQ(c.ComPortNum, 0);  // the file default, not the creation value
  EXPECT_EQ(c.DataLen, 7);
  EXPECT_EQ(c.Parity, 2);
  EXPECT_EQ(c.StopBits, 1);
  EXPECT_EQ(c.BaudRate, 9600);
  EXPECT_EQ(c.StationAddr, 0);
  EXPECT_EQ(c.ModbusMode, 0);
  EXPECT_EQ(c.IPAddress, -1);
  EXPECT_EQ(c.NetInterface, 0);
  EXPECT_EQ(c.HostIPAddr, -1);
  EXPECT_EQ(c.PorthubPort, 0);
  EXPECT_EQ(c.PorthubDrv, -1);
  EXPECT_EQ(c.PorthubDrvID, -1);
  EXPECT_EQ(c.PorthubInter, 0);
  EXPECT_EQ(c.PorthubCOM, 1);
  EXPECT_EQ(c.ReceiveWait, 500);  // not stored
}

TEST(CommConf, ReadsAndWritesInTableOrderWithBases) {
  RecordingIni ini;
  CommConf c;
  c.IPAddress = static_cast<std::int32_t>(0xC0A80105u);
  c.PorthubDrv = -1;
  LoadCommConf(ini, c);
  ASSERT_EQ(ini.reads.size(), kOrder.size());
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    const bool hex = kOrder[i] == "IPAddress" || kOrder[i] == "HostIPAddr";
    EXPECT_EQ(ini.reads[i], "CommConf/" + kOrder[i] + (hex ? "/16" : "/10"));
  }
  c.IPAddress = static_cast<std::int32_t>(0xC0A80105u);
  SaveCommConf(ini, c);
  ASSERT_EQ(ini.writes.size(), kOrder.size());
  EXPECT_EQ(ini.writes[8], "CommConf/IPAddress/16=" + std::to_string(static_cast<std::int32_t>(0xC0A80105u)));
  EXPECT_EQ(ini.writes[12], "CommConf/PorthubDrv/10=-1");
  EXPECT_EQ(ini.writes[0].rfind("CommConf/CommType/10=", 0), 0u);
}

TEST(CommConf, LoadTakesStoredValuesUnvalidated) {
  RecordingIni ini;
  ini.values = {{"CommType", 7}, {"StationAddr", 300}, {"BaudRate", 115200}};
  CommConf c;
  LoadCommConf(ini, c);
  EXPECT_EQ(c.CommType, 7);
  EXPECT_EQ(c.StationAddr, 300);
  EXPECT_EQ(c.BaudRate, 115200);
}

struct FilterRow {
  const char* name;
  std::vector<RawAdapter> raw;
  std::vector<std::string> names, ips;
};

TEST(AdapterFilter, KeepsEthernetAndWirelessButNotBluetooth) {
  const FilterRow rows[] = {
      {"only unusable kinds",
       {{24, "lo loopback", "127.0.0.1"}, {6, "Bluetooth PAN", "10.0.0.9"}, {23, "ppp0", "10.1.1.1"}},
       {},
       {}},
      {"two of a kind in platform order",
       {{6, "eth1 e1000", "192.168.1.20"}, {6, "eth0 r8169", "10.0.0.2"}},
       {"eth1 e1000", "eth0 r8169"},
       {"192.168.1.20", "10.0.0.2"}},
      {"wireless, disconnected",
       {{71, "wlan0 iwlwifi", "0.0.0.0"}, {71, "bluetooth lower case", "1.2.3.4"}},
       {"wlan0 iwlwifi", "bluetooth lower case"},
       {"0.0.0.0", "1.2.3.4"}},
      {"nothing", {}, {}, {}},
  };
  for (const FilterRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> names{"stale"}, ips{"stale"};
    std::ostringstream diag;
    CNetworkAdapterFilter::EnumNetworkAdapters([&] { return AdapterQuery{0, row.raw}; }, names, ips, diag);
    EXPECT_EQ(names, row.names);
    EXPECT_EQ(ips, row.ips);
    EXPECT_EQ(diag.str(), "");
  }
}

TEST(AdapterFilter, FailuresPrintDiagnosticsAndLeaveListsEmpty) {
  std::vector<std::string> names{"x"}, ips{"y"};
  std::ostringstream diag;
  CNetworkAdapterFilter::EnumNetworkAdapters([] { return AdapterQuery{AdapterQuery::kNoMemory, {{6, "eth0", "1.1.1.1"}}}; },
                                             names, ips, diag);
  EXPECT_EQ(diag.str(), "Error allocating memory needed to call GetAdaptersinfo\n");
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(ips.empty());
  std::ostringstream diag2;
  CNetworkAdapterFilter::EnumNetworkAdapters([] { return AdapterQuery{232, {{6, "eth0", "1.1.1.1"}}}; }, names, ips, diag2);
  EXPECT_EQ(diag2.str(), "GetAdaptersInfo failed with error: 232\n");
  EXPECT_TRUE(names.empty());
}

TEST(AdapterFilter, DottedQuadToHostValue) {
  EXPECT_EQ(CNetworkAdapterFilter::ParseDottedQuad("192.168.1.5"), 0xC0A80105u);
  EXPECT_EQ(CNetworkAdapterFilter::ParseDottedQuad("0.0.0.0"), 0u);
  EXPECT_EQ(CNetworkAdapterFilter::ParseDottedQuad("not an address"), 0xFFFFFFFFu);
  EXPECT_EQ(CNetworkAdapterFilter::ParseDottedQuad(""), 0xFFFFFFFFu);
}

}  // namespace
