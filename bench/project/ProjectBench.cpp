// Save and load of a full project (255 modules of 10,240 bytes), each against a plain
// copy or file transfer of the same bytes measured in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "project/CProjectReader.h"
#include "project/CProjectWriter.h"
#include "project/ProjectFormat.h"

namespace {

constexpr int kModules = 255;
std::string g_dir;

std::string Code(int i) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", i);
  return buf;
}

struct Module {
  std::string code, name;
  std::vector<std::uint8_t> data;
};

const std::vector<Module>& Modules() {
  static const std::vector<Module> modules = [] {
    std::vector<Module> m;
    for (int i = 0; i < kModules; ++i)
      m.push_back({Code(i), "Module" + std::to_string(i),
                   std::vector<std::uint8_t>(corvane::project::kMaxModuleData, static_cast<std::uint8_t>(i))});
    return m;
  }();
  return modules;
}

// Header plus each record's strings, length and data.
std::size_t ContentSize() {
  std::size_t n = 21;
  for (const Module& m : Modules()) n += 1 + m.code.size() + 1 + m.name.size() + 4 + m.data.size();
  return n;
}

std::vector<std::uint8_t> BuildContent() {
  corvane::CProjectWriter w;
  w.Reserve(ContentSize());
  for (const Module& m : Modules()) w.AddRecord(m.code, m.name, m.data);
  return w.Content();
}

// Hands each record to a zero-filled module buffer, as the frame does.
class CopyingVisitor : public corvane::IProjectVisitor {
public:
  std::string ModuleNameFor(const std::string& code) override {
    return "Module" + std::to_string(std::stoi(code, nullptr, 16));
  }
  void OnRecord(const std::string&, const std::string&, std::span<const std::uint8_t> data) override {
    std::memset(m_buffer, 0, sizeof m_buffer);
    std::memcpy(m_buffer, data.data(), data.size());
    benchmark::DoNotOptimize(m_buffer);
  }

private:
  std::uint8_t m_buffer[corvane::project::kMaxModuleData];
};

void BM_BuildContent(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildContent());
}

void BM_MemcpyBaseline(benchmark::State& state) {
  const std::size_t size = BuildContent().size();
  for (auto _ : state) {
    std::vector<std::uint8_t> out(size);
    std::size_t at = 0;
    for (const Module& m : Modules()) {
      std::memcpy(out.data() + at, m.data.data(), m.data.size());
      at += m.data.size();
    }
    benchmark::DoNotOptimize(out);
  }
}

void BM_SaveFile(benchmark::State& state) {
  const std::string path = g_dir + "/bench.cvn";
  for (auto _ : state) {
    corvane::CProjectWriter w;
    w.Reserve(ContentSize());
    for (const Module& m : Modules()) w.AddRecord(m.code, m.name, m.data);
    if (!w.Save(path).Ok()) state.SkipWithError("save failed");
  }
}

void BM_PlainWriteBaseline(benchmark::State& state) {
  const std::string path = g_dir + "/plain.bin";
  const std::vector<std::uint8_t> content = BuildContent();
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()) ||
        ::fsync(fd) != 0)
      state.SkipWithError("write failed");
    if (fd >= 0) ::close(fd);
  }
}

void BM_LoadFile(benchmark::State& state) {
  const std::string path = g_dir + "/load.cvn";
  corvane::CProjectWriter w;
  for (const Module& m : Modules()) w.AddRecord(m.code, m.name, m.data);
  if (!w.Save(path).Ok()) state.SkipWithError("save failed");
  for (auto _ : state) {
    CopyingVisitor v;
    const corvane::CProjectResult r = corvane::CProjectReader::Load(path, v);
    if (r.records != kModules) state.SkipWithError("load failed");
  }
}

void BM_PlainReadBaseline(benchmark::State& state) {
  const std::string path = g_dir + "/plain-read.bin";
  const std::vector<std::uint8_t> content = BuildContent();
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, content.data(), content.size()) < 0) state.SkipWithError("write failed");
    if (fd >= 0) ::close(fd);
  }
  for (auto _ : state) {
    std::vector<std::uint8_t> in(content.size());
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::read(fd, in.data(), in.size()) != static_cast<ssize_t>(in.size())) state.SkipWithError("read failed");
    if (fd >= 0) ::close(fd);
    benchmark::DoNotOptimize(in);
  }
}

BENCHMARK(BM_BuildContent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadBaseline)->Unit(benchmark::kMillisecond);

// Console output plus a per-iteration real time for each run, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.iterations > 0) times[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  char tmpl[] = "/tmp/cvn-bench-project-XXXXXX";
  if (!::mkdtemp(tmpl)) return 1;
  g_dir = tmpl;
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nProject of %d modules x %d bytes (%zu bytes on disk)\n", kModules,
              corvane::project::kMaxModuleData, BuildContent().size());
  const struct {
    const char* what;
    const char* bench;
    const char* base;
  } pairs[] = {{"build in memory vs memcpy", "BM_BuildContent", "BM_MemcpyBaseline"},
               {"save (atomic, fsync) vs plain write+fsync", "BM_SaveFile", "BM_PlainWriteBaseline"},
               {"load (read, check, parse) vs plain read", "BM_LoadFile", "BM_PlainReadBaseline"}};
  for (const auto& p : pairs) {
    auto a = reporter.times.find(p.bench), b = reporter.times.find(p.base);
    if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) continue;
    std::printf("%-44s %9.3f ms vs %9.3f ms  ratio %.2f\n", p.what, a->second * 1e3, b->second * 1e3,
                a->second / b->second);
  }
  std::filesystem::remove_all(g_dir);
  benchmark::Shutdown();
  return 0;
}
