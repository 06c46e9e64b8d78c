// Round trip "read 8 holding registers".
// 1. Our PortLink client against libmodbus's own client, both talking to libmodbus servers in
//    the same run: TCP loopback, and RTU on ptys linked by socat (a pair and a server for each
//    client, the round trips taken in turn so both see the same load). RTU keeps 3.5 characters
//    of silence after the last byte on the line (1.75 ms above 19200 baud), which libmodbus does
//    not: the compared round trips start after a pause longer than that, so none of it is
//    required; the back-to-back round trip, silence included, is printed beside. BENCH_SPREAD=1
//    also prints the quartiles of the compared round trips.
// 2. Our client on a line paced by corvane-devsim at 9600 and 115200 baud, back to back, against
//    the physical limit: request and reply wire time plus the silence before the request.
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "libs/portlink/CPortLink.h"
#include "tests/comm/InteropPeers.h"
#include "tests/comm/PeerHelpers.h"
#include "tests/devsim/DevsimProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

std::map<std::string, std::vector<double>> g_samples;  // microseconds per round trip
std::unique_ptr<commtest::LibmodbusTcpServer> g_tcp;
// Two linked ptys with a libmodbus RTU server on one side.
struct RtuRig {
  commtest::PtyPair pair;
  commtest::LibmodbusRtuServer server;
  bool Start() { return pair.Start() && server.Start(pair.DeviceSide()); }
  ~RtuRig() { pair.Stop(); }  // ends the server's read
};
std::unique_ptr<RtuRig> g_ours, g_theirs;
std::map<int, std::string> g_pacedPty;  // baud -> the paced simulator's pty

// A pause longer than any required silence, outside the timed round trip.
constexpr auto kQuiet = std::chrono::microseconds(2500);

template <class F>
void Measure(benchmark::State& state, const std::string& name, bool quietFirst, F roundTrip) {
  auto& samples = g_samples[name];
  for (auto _ : state) {
    if (quietFirst) std::this_thread::sleep_for(kQuiet);
    const auto start = Clock::now();
    if (!roundTrip()) {
      state.SkipWithError("round trip failed");
      return;
    }
    samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
}

const unsigned char kRead8[] = {0x00, 0x10, 0x00, 0x08};

void BM_TcpPortLink(benchmark::State& state) {
  CPortLink link;
  link.SetStationAddr(1);
  if (link.OpenSocket(1, 1, commtest::LoopbackNet(), g_tcp->Port(), 0) != 1) return state.SkipWithError("connect");
  unsigned char buffer[256];
  Measure(state, "tcp ours", false, [&] {
    return link.Request(1, 1, 0, 3, kRead8, 4) > 0 && link.Response(1, 1, nullptr, nullptr, buffer) == 16;
  });
}

void BM_TcpLibmodbus(benchmark::State& state) {
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", g_tcp->Port());
  if (!ctx || modbus_connect(ctx) != 0) return state.SkipWithError("connect");
  modbus_set_slave(ctx, 1);
  uint16_t regs[8];
  Measure(state, "tcp libmodbus", false, [&] { return modbus_read_registers(ctx, 0x10, 8, regs) == 8; });
  modbus_close(ctx);
  modbus_free(ctx);
}

// Our RTU client on `path` at `baud`.
struct OurRtu {
  CPortLink link;
  unsigned char buffer[256];
  bool Open(const std::string& path, int baud) {
    link.SetPortResolver([path](int) { return path; });
    link.SetStationAddr(1);
    link.SetModbusMode(2);
    return link.OpenSerial(1, baud, 8, 0, 1) == 1;
  }
  bool RoundTrip() {
    return link.Request(0, 1, 0, 3, kRead8, 4) > 0 && link.Response(0, 1, nullptr, nullptr, buffer) == 16;
  }
};

// libmodbus's RTU client on `path` at 115200 baud.
struct TheirRtu {
  modbus_t* ctx = nullptr;
  uint16_t regs[8];
  ~TheirRtu() { Close(); }
  bool Open(const std::string& path) {
    Close();
    ctx = modbus_new_rtu(path.c_str(), 115200, 'N', 8, 1);
    return ctx && modbus_connect(ctx) == 0 && modbus_set_slave(ctx, 1) == 0;
  }
  void Close() {
    if (!ctx) return;
    modbus_close(ctx);
    modbus_free(ctx);
    ctx = nullptr;
  }
  bool RoundTrip() { return modbus_read_registers(ctx, 0x10, 8, regs) == 8; }
};

// Ours and libmodbus's in turn, each after a pause; halfway the two swap their rigs.
void BM_RtuAfterSilence(benchmark::State& state) {
  if (!g_ours) return state.SkipWithError("no ptys");
  OurRtu ours;
  TheirRtu theirs;
  RtuRig* rigs[] = {g_ours.get(), g_theirs.get()};
  auto& mine = g_samples["rtu ours"];
  auto& others = g_samples["rtu libmodbus"];
  const auto half = static_cast<std::size_t>(state.max_iterations / 2);
  std::size_t done = 0;
  for (auto _ : state) {
    if (done == 0 || done == half) {
      const std::size_t swap = done == 0 ? 0 : 1;
      ours.link.CloseSerial(1);
      if (!ours.Open(rigs[swap]->pair.HostSide(), 115200) || !theirs.Open(rigs[1 - swap]->pair.HostSide()))
        return state.SkipWithError("open");
    }
    const bool oursFirst = ++done % 2 == 0;  // neither always follows the other
    for (auto* samples : oursFirst ? std::vector{&mine, &others} : std::vector{&others, &mine}) {
      std::this_thread::sleep_for(kQuiet);
      const auto start = Clock::now();
      if (!(samples == &mine ? ours.RoundTrip() : theirs.RoundTrip())) return state.SkipWithError("round trip failed");
      samples->push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
  }
}

void RtuBackToBack(benchmark::State& state, const std::string& name, const std::string& path, int baud) {
  OurRtu ours;
  if (!ours.Open(path, baud)) return state.SkipWithError(ours.link.LastErrorText().c_str());
  Measure(state, name, false, [&] { return ours.RoundTrip(); });
}

void BM_RtuBackToBack(benchmark::State& state) {
  if (!g_ours) return state.SkipWithError("no ptys");
  RtuBackToBack(state, "rtu ours back to back", g_ours->pair.HostSide(), 115200);
}

void BM_RtuPaced(benchmark::State& state) {
  const int baud = static_cast<int>(state.range(0));
  if (!g_pacedPty.count(baud)) return state.SkipWithError("corvane-devsim did not start");
  RtuBackToBack(state, "rtu paced " + std::to_string(baud), g_pacedPty[baud], baud);
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

void PrintRatio(const char* label, const char* ours, const char* theirs) {
  const double a = Median(g_samples[ours]), b = Median(g_samples[theirs]);
  if (a <= 0 || b <= 0) {
    std::printf("%s: not measured\n", label);
    return;
  }
  std::printf("%s: ours median %.1f us, libmodbus median %.1f us, ours/libmodbus = %.2f\n", label, a, b, a / b);
  const auto& mine = g_samples[ours];
  const auto& others = g_samples[theirs];
  if (mine.size() == others.size()) {  // taken in turn: pairs that met the same load
    std::vector<double> ratios;
    for (std::size_t i = 0; i < mine.size(); ++i) ratios.push_back(mine[i] / others[i]);
    std::printf("  median of the ratios of round trips taken in turn = %.2f\n", Median(ratios));
  }
  if (std::getenv("BENCH_SPREAD")) {
    for (const char* k : {ours, theirs}) {
      auto v = g_samples[k];
      std::sort(v.begin(), v.end());
      std::printf("  %s: p10 %.0f p25 %.0f p50 %.0f p75 %.0f p90 %.0f\n", k, v[v.size() / 10], v[v.size() / 4],
                  v[v.size() / 2], v[v.size() * 3 / 4], v[v.size() * 9 / 10]);
    }
  }
}

// Request (8) and reply (21) characters of 10 bits, and 3.5 characters of silence before the request.
void PrintPaced(int baud) {
  const double a = Median(g_samples["rtu paced " + std::to_string(baud)]);
  const double charUs = 1e6 * 10 / baud;
  const double silenceUs = baud > 19200 ? 1750 : 3.5 * charUs;
  const double limit = (8 + 21) * charUs + silenceUs;
  if (a <= 0) {
    std::printf("read 8 holding registers, RTU paced at %d baud: not measured\n", baud);
    return;
  }
  std::printf("read 8 holding registers, RTU paced at %d baud: ours median %.1f us, physical limit %.1f us "
              "(wire %.1f + silence %.1f), ours/limit = %.3f\n",
              baud, a, limit, (8 + 21) * charUs, silenceUs, a / limit);
}

}  // namespace

BENCHMARK(BM_TcpPortLink)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TcpLibmodbus)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtuAfterSilence)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtuBackToBack)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtuPaced)->Arg(9600)->Iterations(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtuPaced)->Arg(115200)->Iterations(300)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  g_tcp = std::make_unique<commtest::LibmodbusTcpServer>();
  if (!g_tcp->Start()) return 1;
  g_ours = std::make_unique<RtuRig>();
  g_theirs = std::make_unique<RtuRig>();
  if (!g_ours->Start() || !g_theirs->Start()) {
    std::printf("socat or the RTU server not available: RTU round trips on ptys are skipped\n");
    g_ours.reset();
    g_theirs.reset();
  }
  char home[] = "/tmp/corvane-bench-XXXXXX";
  const bool haveHome = ::mkdtemp(home) != nullptr;
  std::map<int, std::unique_ptr<DevsimProcess>> paced;
  for (int baud : {9600, 115200}) {
    auto sim = std::make_unique<DevsimProcess>();
    if (haveHome && sim->Start({"--no-tcp", "--no-udp", "--mode", "rtu", "--pace", std::to_string(baud)}, home))
      g_pacedPty[baud] = sim->Field("pty");
    paced[baud] = std::move(sim);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatio("read 8 holding registers, TCP loopback", "tcp ours", "tcp libmodbus");
  PrintRatio("read 8 holding registers, RTU on ptys at 115200 baud, after a silence", "rtu ours", "rtu libmodbus");
  std::printf("read 8 holding registers, RTU on ptys back to back: ours median %.1f us, of which the silence "
              "after the last reply byte 1750 us\n",
              Median(g_samples["rtu ours back to back"]));
  PrintPaced(9600);
  PrintPaced(115200);
  paced.clear();
  if (haveHome) std::filesystem::remove_all(home);
  g_ours.reset();
  g_theirs.reset();
  g_tcp.reset();
  return 0;
}
