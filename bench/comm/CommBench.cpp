// Round trip "read 8 holding registers": our PortLink client against libmodbus's own client,
// both talking to the same libmodbus server in the same run (TCP loopback, RTU on linked ptys).
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "libs/portlink/CPortLink.h"
#include "tests/comm/InteropPeers.h"
#include "tests/comm/PeerHelpers.h"

namespace {

std::map<std::string, std::vector<double>> g_samples;  // microseconds per round trip
std::unique_ptr<commtest::LibmodbusTcpServer> g_tcp;
std::unique_ptr<commtest::PtyPair> g_pty;
std::unique_ptr<commtest::LibmodbusRtuServer> g_rtu;

template <class F>
void Measure(benchmark::State& state, const char* name, F roundTrip) {
  auto& samples = g_samples[name];
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!roundTrip()) {
      state.SkipWithError("round trip failed");
      return;
    }
    samples.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
}

const unsigned char kRead8[] = {0x00, 0x10, 0x00, 0x08};

void BM_TcpPortLink(benchmark::State& state) {
  CPortLink link;
  link.SetStationAddr(1);
  if (link.OpenSocket(1, 1, commtest::LoopbackNet(), g_tcp->Port(), 0) != 1) return state.SkipWithError("connect");
  unsigned char buffer[256];
  Measure(state, "tcp ours", [&] {
    return link.Request(1, 1, 0, 3, kRead8, 4) > 0 && link.Response(1, 1, nullptr, nullptr, buffer) == 16;
  });
}

void BM_TcpLibmodbus(benchmark::State& state) {
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", g_tcp->Port());
  if (!ctx || modbus_connect(ctx) != 0) return state.SkipWithError("connect");
  modbus_set_slave(ctx, 1);
  uint16_t regs[8];
  Measure(state, "tcp libmodbus", [&] { return modbus_read_registers(ctx, 0x10, 8, regs) == 8; });
  modbus_close(ctx);
  modbus_free(ctx);
}

void BM_RtuPortLink(benchmark::State& state) {
  CPortLink link;
  link.SetPortResolver([](int) { return g_pty->HostSide(); });
  link.SetStationAddr(1);
  link.SetModbusMode(2);
  if (link.OpenSerial(1, 115200, 8, 0, 1) != 1) return state.SkipWithError("open");
  unsigned char buffer[256];
  Measure(state, "rtu ours", [&] {
    return link.Request(0, 1, 0, 3, kRead8, 4) > 0 && link.Response(0, 1, nullptr, nullptr, buffer) == 16;
  });
}

void BM_RtuLibmodbus(benchmark::State& state) {
  modbus_t* ctx = modbus_new_rtu(g_pty->HostSide().c_str(), 115200, 'N', 8, 1);
  if (!ctx || modbus_connect(ctx) != 0) return state.SkipWithError("open");
  modbus_set_slave(ctx, 1);
  uint16_t regs[8];
  Measure(state, "rtu libmodbus", [&] { return modbus_read_registers(ctx, 0x10, 8, regs) == 8; });
  modbus_close(ctx);
  modbus_free(ctx);
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
}

}  // namespace

BENCHMARK(BM_TcpPortLink)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TcpLibmodbus)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtuPortLink)->Iterations(300)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtuLibmodbus)->Iterations(300)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  g_tcp = std::make_unique<commtest::LibmodbusTcpServer>();
  if (!g_tcp->Start()) return 1;
  g_pty = std::make_unique<commtest::PtyPair>();
  if (g_pty->Start()) {
    g_rtu = std::make_unique<commtest::LibmodbusRtuServer>();
    if (!g_rtu->Start(g_pty->DeviceSide())) std::printf("rtu server did not start\n");
  } else {
    std::printf("socat not available: RTU round trips are skipped\n");
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintRatio("read 8 holding registers, TCP loopback", "tcp ours", "tcp libmodbus");
  PrintRatio("read 8 holding registers, RTU on ptys", "rtu ours", "rtu libmodbus");
  g_pty->Stop();  // ends the RTU server's read
  g_rtu.reset();
  g_tcp.reset();
  g_pty.reset();
  return 0;
}
