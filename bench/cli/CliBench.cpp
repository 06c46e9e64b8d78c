// corvane-cli as whole processes, against the same server (corvane-devsim on loopback):
// - read 10 holding registers over Modbus TCP, against Debian's mbpoll doing the same read, the
//   two started in turn; the median of the ratios of each pair (goal: at most 1.0);
// - a scan of the 247 stations of a Modbus TCP address with a time-out of 20 ms, three of them
//   answering, against 247 times the time-out of a silent station.
// Each run is timed from before fork to after waitpid; output goes to /dev/null.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/devsim/DevsimProcess.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWarmup = 3;
constexpr int kRuns = 60;
constexpr int kScanRuns = 3;
constexpr double kScanTimeoutMs = 20;

// Milliseconds the whole process took; negative when it did not end with status 0.
double TimeRun(const std::vector<std::string>& args) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

bool HaveMbpoll() { return std::system("command -v mbpoll > /dev/null 2>&1") == 0; }

void BenchRead(const std::string& host, const std::string& port) {
  const std::vector<std::string> ours = {CORVANE_BIN_DIR "/corvane-cli", "read", "-a", "1", "-r", "0", "-c", "10",
                                         host + ":" + port};
  const std::vector<std::string> theirs = {"mbpoll", "-m", "tcp", "-a", "1", "-r", "1", "-c", "10", "-1", "-p", port,
                                           host};
  for (int i = 0; i < kWarmup; ++i) TimeRun(ours), TimeRun(theirs);
  std::vector<double> a, b, ratios;
  for (int i = 0; i < kRuns; ++i) {
    const double ta = TimeRun(ours), tb = TimeRun(theirs);
    if (ta < 0 || tb < 0) {
      std::fprintf(stderr, "cli bench: a read failed (corvane-cli %s, mbpoll %s)\n", ta < 0 ? "failed" : "ok",
                   tb < 0 ? "failed" : "ok");
      return;
    }
    a.push_back(ta), b.push_back(tb), ratios.push_back(ta / tb);
  }
  std::printf("cli read of 10 holding registers over Modbus TCP, whole processes, %d pairs: corvane-cli median "
              "%.2f ms, mbpoll median %.2f ms; ratio corvane-cli/mbpoll median %.3f (min %.3f, max %.3f; goal <= 1.0)\n",
              kRuns, Median(a), Median(b), Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()));
}

void BenchScan(const std::string& host, const std::string& port) {
  const std::vector<std::string> scan = {CORVANE_BIN_DIR "/corvane-cli", "scan", "-q", "-o", "0.02",
                                         host + ":" + port};
  std::vector<double> times;
  for (int i = 0; i < kScanRuns; ++i) {
    const double t = TimeRun(scan);
    if (t < 0) {
      std::fprintf(stderr, "cli bench: the scan failed\n");
      return;
    }
    times.push_back(t);
  }
  const double floor = 247 * kScanTimeoutMs;
  std::printf("cli scan of stations 1-247 over Modbus TCP (3 answering), time-out %.0f ms: median %.0f ms against "
              "247 x time-out = %.0f ms; ratio %.3f\n",
              kScanTimeoutMs, Median(times), floor, Median(times) / floor);
}

}  // namespace

int main() {
  const std::string home = std::filesystem::temp_directory_path() / ("cvn-cli-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  ::setenv("PROGRAMDATA", home.c_str(), 1);  // no CVN.ini: the command line says everything
  DevsimProcess server;
  if (!server.Start({"--no-pty", "--no-udp", "--tcp-port", "0", "--stations", "1,17,200", "--device",
                     "reg=0:1,1:2,2:3,3:4,4:5,5:6,6:7,7:8,8:9,9:10"},
                    home)) {
    std::fprintf(stderr, "cli bench: corvane-devsim did not start\n");
    return 1;
  }
  const std::string tcp = server.Field("tcp");
  const std::string host = tcp.substr(0, tcp.find(':')), port = tcp.substr(tcp.find(':') + 1);
  if (HaveMbpoll()) BenchRead(host, port);
  else std::printf("cli bench: mbpoll is not installed; the read against it is skipped\n");
  BenchScan(host, port);
  server.Stop();
  std::filesystem::remove_all(home);
  return 0;
}
