// The Ethernet search against its floor, the time no search can beat:
// - answered by 255 (table full) and 254 loopback devices without sub-modules, as fast as the
//   socket takes the replies: the floor is the last reply, plus the 500 ms wait after it unless
//   the table is full;
// - 255 devices that list sub-modules (table full), of which 0, 50 or 255 never accept a
//   Modbus TCP connection, the others served by corvane-devsim: the floor is the last reply, or
//   one connect time-out after the last silent device's reply when that is later. Their replies
//   come 1 ms apart, as devices on a segment answer a broadcast one after the other.
// The second set runs in a network namespace of its own (root, or a user namespace).
// The replies stand for other machines: with two processors or more, the responder sends from
// one and the search runs on another, so they do not take turns on one processor.
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "comm/CLinkManager.h"
#include "discovery/CDeviceSearch.h"
#include "libs/portlink/CPortLink.h"
#include "platform/IPrompts.h"
#include "tests/devsim/DevsimProcess.h"
#include "tests/support/DiscoveryResponder.h"
#include "tests/support/OwnNetNamespace.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

using Clock = std::chrono::steady_clock;
using corvane::test::Datagram;
constexpr std::uint32_t kResponder = 0x7F000063;  // 127.0.0.99
cpu_set_t g_allowed;  // the processors the bench may use
int g_searchCpu = -1, g_responderCpu = -1;

// With two processors or more: the search on the first, the responder on the next one.
void ChooseProcessors() {
  if (::sched_getaffinity(0, sizeof g_allowed, &g_allowed) != 0 || CPU_COUNT(&g_allowed) < 2) return;
  for (int cpu = 0; cpu < CPU_SETSIZE && g_responderCpu < 0; ++cpu) {
    if (!CPU_ISSET(cpu, &g_allowed)) continue;
    (g_searchCpu < 0 ? g_searchCpu : g_responderCpu) = cpu;
  }
}

// Pins this thread to the search's processor, or frees it (the simulator started meanwhile
// takes any processor).
void PinSearch(bool pinned) {
  if (g_searchCpu < 0) return;
  cpu_set_t set = g_allowed;
  if (pinned) {
    CPU_ZERO(&set);
    CPU_SET(g_searchCpu, &set);
  }
  ::sched_setaffinity(0, sizeof set, &set);
}

class CountingHost : public corvane::ISearchHost {
public:
  void PrepareSearch() override {}
  bool OpenModule(const std::string& code) override {
    ++tried[code];
    return true;
  }
  void ShowMessage(unsigned) override {}
  void LogLine(const std::string&) override {}
  void BeginScanProgress() override {}
  void EndScanProgress() override {}
  std::map<std::string, int> tried;
};

struct Case {
  std::string name;
  int runs = 15;
  std::vector<Datagram> replies;
  std::chrono::microseconds pace{};
  std::ptrdiff_t lastSilent = -1;  // the last reply whose device never accepts a connection
  std::map<std::string, int> expected;  // module code -> times it is added
};

// Median ratio of kRuns searches; false when a search did not find what it should.
bool RunCase(corvane::CLinkManager& link, const Case& c) {
  const bool full = c.replies.size() >= corvane::kMaxReplies;
  const auto wait = std::chrono::milliseconds(full ? 0 : link.Conf().ReceiveWait);
  const auto connect = std::chrono::milliseconds(link.DeviceQueryLimits.connectTimeoutMs);
  std::vector<double> ratios, times;
  for (int run = 0; run < c.runs; ++run) {
    corvane::test::DiscoveryResponder responder(kResponder);
    if (!responder.Ok()) {
      std::fprintf(stderr, "search bench: cannot bind 127.0.0.99:20006\n");
      return false;
    }
    responder.ServeOnce(c.replies, c.pace, g_responderCpu);
    CountingHost host;
    corvane::CDeviceSearch search(link, host);
    const auto start = Clock::now();
    search.SearchDevices();
    const auto end = Clock::now();
    const auto& sent = responder.SendTimes();
    auto floor = sent.back() + wait;
    if (c.lastSilent >= 0) floor = std::max(floor, sent[static_cast<std::size_t>(c.lastSilent)] + connect);
    if (host.tried != c.expected) {
      std::fprintf(stderr, "search bench: %s: not every module found (%zu codes)\n", c.name.c_str(), host.tried.size());
      return false;
    }
    const double tookMs = std::chrono::duration<double, std::milli>(end - start).count();
    times.push_back(tookMs);
    ratios.push_back(tookMs / std::chrono::duration<double, std::milli>(floor - start).count());
  }
  std::sort(ratios.begin(), ratios.end());
  std::sort(times.begin(), times.end());
  std::printf("search, %s: median %.1f ms; against its floor (last reply%s%s): median ratio %.3f "
              "(best %.3f, worst %.3f; goal <= 1.05)\n",
              c.name.c_str(), times[times.size() / 2], full ? ", table full" : " + 500 ms wait",
              c.lastSilent >= 0 ? ", or last silent reply + connect time-out" : "", ratios[ratios.size() / 2], ratios.front(), ratios.back());
  return true;
}

Case WithoutSubModules(int devices) {
  Case c{std::to_string(devices) + " loopback devices without sub-modules", 15, {}, {}, -1, {}};
  for (int i = 0; i < devices; ++i) {
    const auto code = static_cast<std::uint16_t>(0x1000 + i);
    c.replies.push_back(corvane::test::DiscoveryReply(code, 0x7F000001u + static_cast<std::uint32_t>(i)));
    char text[8];
    std::snprintf(text, sizeof text, "%04X", code);
    c.expected[text] = 1;
  }
  return c;
}

// Device i answers at 127.0.1.(i+1), or, when silent, at 10.99.0.(i+1) where nothing answers.
Case WithSubModules(int silent) {
  Case c{"255 devices with sub-modules, " + std::to_string(silent) + " silent", 5, {}, std::chrono::microseconds(1000),
         -1, {}};
  const int devices = static_cast<int>(corvane::kMaxReplies);
  for (int i = 0; i < devices; ++i) {
    const bool quiet = silent > 0 && i % (devices / silent) == 0 && i / (devices / silent) < silent;
    const std::uint32_t host = static_cast<std::uint32_t>(i + 1);
    c.replies.push_back(corvane::test::DiscoveryReply(0x0015, (quiet ? 0x0A630000u : 0x7F000100u) + host));
    if (quiet) c.lastSilent = i;
    else ++c.expected["4041"];
  }
  c.expected["0015"] = devices;
  return c;
}

bool RunSubModuleCases(corvane::CLinkManager& link) {
  if (!corvane::test::RouteToSilence("10.99.0.0/16")) return false;
  const std::filesystem::path home = std::filesystem::temp_directory_path() / ("cvn-search-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  {
    std::ofstream config(home / "devices.conf");
    for (int i = 0; i < static_cast<int>(corvane::kMaxReplies); ++i)
      config << "device code=0x0015 station=1 sub=0x4041 ip=127.0.1." << i + 1 << "\n";
  }
  bool ok = false;
  {
    DevsimProcess devices;
    PinSearch(false);
    const bool started = devices.Start(
        {"--no-pty", "--no-udp", "--tcp-port", "502", "--config", (home / "devices.conf").string()}, home.string());
    PinSearch(true);
    if (started) {
      ok = RunCase(link, WithSubModules(0)) && RunCase(link, WithSubModules(50)) && RunCase(link, WithSubModules(255));
    } else {
      std::fprintf(stderr, "search bench: corvane-devsim did not start\n");
    }
  }
  std::filesystem::remove_all(home);
  return ok;
}

}  // namespace

int main() {
  const bool ownNet = corvane::test::EnterOwnNetNamespace();
  if (!ownNet) std::printf("search bench: no network namespace allowed here; the cases with sub-modules are skipped\n");
  ChooseProcessors();
  PinSearch(true);
  corvane::test::ScriptedPrompts prompts;
  corvane::SetPrompts(&prompts);
  corvane::CommConf conf;
  CPortLink portLink;
  corvane::CLinkManager link(conf, portLink);
  if (!link.LoadBusLink(CORVANE_BIN_DIR "/")) {
    std::fprintf(stderr, "search bench: libBusLink.so not found in %s\n", CORVANE_BIN_DIR);
    return 1;
  }
  link.EnumAdapters = [](auto& names, auto& ips) {
    names = {"lo"};
    ips = {"127.0.0.1"};
  };
  conf.CommType = 1;
  conf.StationAddr = 1;
  conf.IPAddress = static_cast<std::int32_t>(kResponder);
  link.ApplyLinkSettings();

  bool ok = RunCase(link, WithoutSubModules(255)) && RunCase(link, WithoutSubModules(254));
  if (ok && ownNet) ok = RunSubModuleCases(link);
  corvane::SetPrompts(nullptr);
  return ok ? 0 : 1;
}
