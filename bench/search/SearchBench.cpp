// Ethernet search answered by many devices on loopback. The search cannot end before the last
// reply has come and, unless the 255 places of the reply table are full by then, the 500 ms
// wait after it has passed; it prints its time against that floor.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "comm/CLinkManager.h"
#include "discovery/CDeviceSearch.h"
#include "libs/portlink/CPortLink.h"
#include "platform/IPrompts.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t kResponder = 0x7F000063;  // 127.0.0.99

class CountingHost : public corvane::ISearchHost {
public:
  explicit CountingHost(corvane::CLinkManager& link) : m_link(link) {}
  void PrepareSearch() override {}
  bool OpenModule(const std::string& code) override { return codes.insert(code).second; }
  int OpenLink() override { return m_link.OpenLink(); }
  void CloseLink(int handle) override { m_link.CloseLink(handle); }
  void ShowMessage(unsigned) override {}
  void LogLine(const std::string&) override {}
  void BeginScanProgress() override {}
  void EndScanProgress() override {}
  std::set<std::string> codes;

private:
  corvane::CLinkManager& m_link;
};

// Answers one discovery request with kDevices replies, as fast as the socket takes them;
// codes without sub-modules, so the search asks nothing more of them.
class Responder {
public:
  explicit Responder(int devices) : m_devices(devices) {
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(20006);
    at.sin_addr.s_addr = htonl(kResponder);
    m_ok = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
  }
  ~Responder() {
    if (m_thread.joinable()) m_thread.join();
    if (m_fd >= 0) ::close(m_fd);
  }
  bool Ok() const { return m_ok; }
  void ServeOnce() {
    m_thread = std::thread([this] {
      pollfd p{m_fd, POLLIN, 0};
      if (::poll(&p, 1, 5000) != 1) return;
      unsigned char request[256];
      sockaddr_in from{};
      socklen_t len = sizeof from;
      if (::recvfrom(m_fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &len) <= 0) return;
      for (int i = 0; i < m_devices; ++i) {
        unsigned char reply[100] = {};
        const unsigned code = 0x1000 + static_cast<unsigned>(i);
        reply[0] = static_cast<unsigned char>(code >> 8);
        reply[1] = static_cast<unsigned char>(code & 0xFF);
        reply[72] = static_cast<unsigned char>(i + 1);
        reply[75] = 127;
        ::sendto(m_fd, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), len);
      }
      m_lastReply = Clock::now();
    });
  }
  Clock::time_point LastReply() {
    if (m_thread.joinable()) m_thread.join();
    return m_lastReply;
  }

private:
  int m_devices;
  int m_fd = -1;
  bool m_ok = false;
  std::thread m_thread;
  Clock::time_point m_lastReply{};
};

}  // namespace

int main() {
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
  conf.IPAddress = static_cast<std::int32_t>(kResponder);
  link.ApplyLinkSettings();

  for (const int devices : {255, 254}) {
    const bool full = devices >= static_cast<int>(corvane::kMaxReplies);
    std::vector<double> ratios, times;
    for (int run = 0; run < 5; ++run) {
      Responder responder(devices);
      if (!responder.Ok()) {
        std::fprintf(stderr, "search bench: cannot bind 127.0.0.99:20006\n");
        return 1;
      }
      responder.ServeOnce();
      CountingHost host(link);
      corvane::CDeviceSearch search(conf, portLink, link.Bus(), host);
      const auto start = Clock::now();
      const bool found = search.SearchDevices();
      const auto end = Clock::now();
      const auto last = responder.LastReply();
      if (!found || static_cast<int>(host.codes.size()) != devices) {
        std::fprintf(stderr, "search bench: %zu of %d devices found\n", host.codes.size(), devices);
        return 1;
      }
      const double floorMs = std::chrono::duration<double, std::milli>(last - start).count() +
                             (full ? 0.0 : conf.ReceiveWait);
      const double tookMs = std::chrono::duration<double, std::milli>(end - start).count();
      times.push_back(tookMs);
      ratios.push_back(tookMs / floorMs);
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(times.begin(), times.end());
    std::printf("search answered by %d loopback devices: median %.1f ms; against its floor (last reply%s): "
                "median ratio %.3f (best %.3f, worst %.3f; goal <= 1.05)\n",
                devices, times[times.size() / 2], full ? ", table full" : " + 500 ms wait", ratios[ratios.size() / 2],
                ratios.front(), ratios.back());
  }
  corvane::SetPrompts(nullptr);
  return 0;
}
