// The Ethernet search with many devices that never answer Modbus TCP, and the reply loop with
// datagrams that name no device.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>

#include "comm/CLinkManager.h"
#include "discovery/CDeviceSearch.h"
#include "libs/portlink/CPortLink.h"
#include "platform/IPrompts.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/search/FakeSearchHost.h"
#include "tests/support/DiscoveryResponder.h"
#include "tests/support/OwnNetNamespace.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::Datagram;
using test::DiscoveryReply;

std::string Code(std::uint16_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", code);
  return text;
}

// The real libraries on an Ethernet link to the responder at `target`.
struct EthernetSearch {
  explicit EthernetSearch(std::uint32_t target) {
    SetPrompts(&prompts);
    loaded = link.LoadBusLink(CORVANE_BIN_DIR "/");
    link.EnumAdapters = [](auto& n, auto& i) { n = {"lo"}; i = {"127.0.0.1"}; };
    conf.CommType = 1;
    conf.StationAddr = 1;
    conf.IPAddress = static_cast<std::int32_t>(target);
    link.ApplyLinkSettings();
  }
  ~EthernetSearch() { SetPrompts(nullptr); }
  test::ScriptedPrompts prompts;
  CommConf conf;
  CPortLink portLink;
  CLinkManager link{conf, portLink};
  bool loaded = false;
};

// Runs `body` in a namespace of its own where 10.99.0.0/16 never answers.
int InOwnNamespace(const std::function<std::string()>& body, std::string& failures) {
  return test::InOwnNetNamespace(body, failures, [] { return test::RouteToSilence("10.99.0.0/16"); });
}

struct RealDevice {
  std::size_t record;
  std::uint16_t code;
  std::uint32_t address;
  const char* subModules;  // as corvane-devsim takes them
  std::vector<std::uint16_t> cards;
};

// 255 replies whose devices list sub-modules; three of them are real devices, every other one
// is silent (10.99.0.0/16, nothing answers) or, from `refusingFrom` on, refuses (127.0.2.x,
// nothing listens).
std::string SearchAmongSilentDevices(std::size_t refusingFrom) {
  const RealDevice real[] = {{3, 0x0015, 0x7F000048, "0x4041", {0x4041}},
                             {130, 0x0022, 0x7F000049, "0x4042", {0x4042}},
                             {254, 0x0405, 0x7F00004A, "0x4041,0x4042", {0x4041, 0x4042}}};
  const fs::path home = fs::temp_directory_path() / ("cvn-silent-" + std::to_string(::getpid()));
  fs::create_directories(home);
  std::vector<std::string> args{"--no-pty", "--no-udp", "--tcp-port", "502"};
  std::vector<Datagram> replies;
  std::vector<std::string> tried;
  for (std::size_t i = 0; i < kMaxReplies; ++i) {
    const auto device = std::find_if(std::begin(real), std::end(real), [i](const RealDevice& d) { return d.record == i; });
    if (device == std::end(real)) {
      const auto host = static_cast<std::uint32_t>(i + 1);
      replies.push_back(DiscoveryReply(0xA002, (i >= refusingFrom ? 0x7F000200u : 0x0A630000u) + host));
      tried.push_back("A002");
      continue;
    }
    char spec[96];
    std::snprintf(spec, sizeof spec, "code=0x%04X station=1 ip=127.0.0.%u sub=%s", device->code,
                  device->address & 0xFF, device->subModules);
    args.insert(args.end(), {"--device", spec});
    replies.push_back(DiscoveryReply(device->code, device->address));
    tried.push_back(Code(device->code));
    for (std::uint16_t card : device->cards) tried.push_back(Code(card));
  }
  DevsimProcess devices;
  if (!devices.Start(args, home.string())) return "corvane-devsim did not start";
  EthernetSearch s(0x7F000047);  // 127.0.0.71
  test::DiscoveryResponder responder(0x7F000047);
  if (!s.loaded || !responder.Ok()) return "BusLink or the responder did not start";
  responder.ServeOnce(replies);
  test::FakeSearchHost host({"0015", "0022", "0405", "4041", "4042"});
  CDeviceSearch search(s.link, host);
  const auto start = Clock::now();
  const bool found = search.SearchDevices();
  const auto took = Clock::now() - start;
  const auto window = responder.LastReply() - start + std::chrono::milliseconds(s.conf.ReceiveWait);
  const auto bound = window + std::chrono::milliseconds(s.link.DeviceQueryLimits.connectTimeoutMs +
                                                        s.link.DeviceQueryLimits.responseTimeoutMs);
  std::ostringstream failed;
  const auto ms = [](auto d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
  if (!found) failed << "nothing found; ";
  if (took > bound + std::chrono::milliseconds(250)) failed << "took " << ms(took) << " ms, bound " << ms(bound) << " ms; ";
  if (refusingFrom > 0 && took < std::chrono::milliseconds(s.link.DeviceQueryLimits.connectTimeoutMs))
    failed << "took " << ms(took) << " ms: the silent devices answered; ";
  if (host.opened != std::vector<std::string>{"0015", "4041", "0022", "4042", "0405"}) failed << "opened the wrong modules; ";
  if (host.tried != tried) failed << "modules tried in another order; ";
  if (host.progress != 0 || !host.log.empty() || !host.messages.empty()) failed << "progress, log or messages left; ";
  fs::remove_all(home);
  return failed.str();
}

TEST(ConcurrentSearch, SilentAndRefusingDevicesEndWithinOneTimeOutAndOpenInReplyOrder) {
  struct Row {
    const char* what;
    std::size_t refusingFrom;
  };
  const Row rows[] = {{"252 silent", kMaxReplies}, {"126 silent, 126 refusing", 128}};
  for (const Row& row : rows) {
    std::string failures;
    const int status = InOwnNamespace([&] { return SearchAmongSilentDevices(row.refusingFrom); }, failures);
    if (status == 77) GTEST_SKIP() << "no network namespace allowed here (root or user namespaces needed)";
    EXPECT_EQ(status, 0) << row.what << ": " << failures;
  }
}

// Replies A and B with datagrams that name no device around them: both open, in order, and the
// loop still ends 500 ms after the last datagram.
TEST(ReplyLoop, KeepsReadingPastDatagramsThatNameNoDevice) {
  const Datagram a = DiscoveryReply(0x1234, 0x7F000001), b = DiscoveryReply(0x0203, 0x7F000001);
  const Datagram empty, nameless(100, 0);
  struct Row {
    const char* what;
    std::vector<Datagram> datagrams;
    std::vector<std::string> opened;
  };
  const Row rows[] = {
      {"empty between", {a, empty, b}, {"1234", "0203"}},
      {"empty at the end", {a, b, empty}, {"1234", "0203"}},
      {"empty first", {empty, a, b}, {"1234", "0203"}},
      {"code 0 between", {a, nameless, b}, {"1234", "0203"}},
      {"only empty ones, more than the table", std::vector<Datagram>(300, empty), {}},
  };
  std::uint32_t target = 0x7F000051;  // 127.0.0.81 and up
  for (const Row& row : rows) {
    EthernetSearch s(target);
    ASSERT_TRUE(s.loaded);
    test::DiscoveryResponder responder(target++);
    ASSERT_TRUE(responder.Ok()) << row.what;
    responder.ServeOnce(row.datagrams);
    test::FakeSearchHost host({"1234", "0203"});
    CDeviceSearch search(s.link, host);
    const auto start = Clock::now();
    EXPECT_EQ(search.SearchDevices(), !row.opened.empty()) << row.what;
    const auto took = Clock::now() - start;
    EXPECT_EQ(host.opened, row.opened) << row.what;
    EXPECT_EQ(host.log.size(), row.opened.empty() ? 1u : 0u) << row.what;
    EXPECT_LT(took, responder.LastReply() - start + std::chrono::milliseconds(s.conf.ReceiveWait + 300)) << row.what;
  }
}

}  // namespace
}  // namespace corvane
