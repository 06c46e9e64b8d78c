// Start-up to the first window: `corvane 1033` (a language argument, so no splash) against a
// bare Qt 6 window, alternately in the same run on the same display. The first window counts
// when the X server maps it (a top-level MapNotify seen on the root window). Without a display
// the bench starts its own Xvfb. Prints the medians and their ratio (goal at most 1.5).
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// An Xvfb of our own, on the first free display number it picks itself.
struct OwnDisplay {
  pid_t pid = -1;
  ~OwnDisplay() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  }
  bool Start() {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args{"Xvfb", "-displayfd", fd, "-screen", "0", "1280x800x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawnp(&pid, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0) return false;
    ::close(fds[1]);
    char number[16] = {};
    pollfd p{fds[0], POLLIN, 0};
    const bool ready = ::poll(&p, 1, 10000) > 0 && ::read(fds[0], number, sizeof number - 1) > 0;
    ::close(fds[0]);
    if (!ready) return false;
    ::setenv("DISPLAY", (":" + std::string(number, std::strcspn(number, "\n"))).c_str(), 1);
    return true;
  }
};

// CPU time (user and system) the process has used so far, in milliseconds.
double CpuMs(pid_t pid) {
  std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
  if (!f) return -1;
  char buffer[1024] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  const char* after = std::strrchr(buffer, ')');  // the name may hold spaces
  if (n == 0 || !after) return -1;
  unsigned long utime = 0, stime = 0;
  if (std::sscanf(after + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) return -1;
  return 1000.0 * static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

struct Start {
  double ms = -1;   // wall time to the first mapped top-level window; -1 on timeout
  double cpu = -1;  // CPU time the process used until then
};

Start TimeToFirstWindow(xcb_connection_t* x, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  while (xcb_generic_event_t* stale = xcb_poll_for_event(x)) std::free(stale);
  const auto start = Clock::now();
  pid_t pid = -1;
  Start result;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return result;
  double& ms = result.ms;
  while (ms < 0 && Clock::now() - start < std::chrono::seconds(20)) {
    pollfd p{xcb_get_file_descriptor(x), POLLIN, 0};
    ::poll(&p, 1, 100);
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
          !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect && ms < 0)
        ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      std::free(event);
    }
  }
  result.cpu = CpuMs(pid);
  ::kill(pid, SIGTERM);  // the program closes its window and runs its shutdown
  ::waitpid(pid, nullptr, 0);
  return result;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  OwnDisplay own;
  if (!std::getenv("DISPLAY") && !own.Start()) {
    std::fprintf(stderr, "startup_bench: no display and no Xvfb\n");
    return 1;
  }
  ::unsetenv("QT_QPA_PLATFORM");
  // The program's settings and single-instance files in a folder of the bench's own.
  const fs::path folder = fs::temp_directory_path() / ("cvn-startup-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder / "data");
  fs::create_directories(folder / "run");
  fs::permissions(folder / "run", fs::perms::owner_all);
  ::setenv("PROGRAMDATA", (folder / "data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);

  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) {
    std::fprintf(stderr, "startup_bench: cannot reach the display\n");
    return 1;
  }
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, xcb_setup_roots_iterator(xcb_get_setup(x)).data->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(x);

  const std::vector<std::string> bare{BARE_WINDOW};
  const std::vector<std::string> corvane{CORVANE_BIN_DIR "/corvane", "1033"};
  TimeToFirstWindow(x, bare);  // warm the caches for both
  TimeToFirstWindow(x, corvane);
  std::vector<double> bareMs, corvaneMs, bareCpu, corvaneCpu;
  for (int i = 0; i < rounds; ++i) {
    const Start b = TimeToFirstWindow(x, bare);
    const Start c = TimeToFirstWindow(x, corvane);
    bareMs.push_back(b.ms);
    bareCpu.push_back(b.cpu);
    corvaneMs.push_back(c.ms);
    corvaneCpu.push_back(c.cpu);
  }
  xcb_disconnect(x);
  fs::remove_all(folder);
  if (std::count(bareMs.begin(), bareMs.end(), -1.0) + std::count(corvaneMs.begin(), corvaneMs.end(), -1.0) > 0) {
    std::fprintf(stderr, "startup_bench: a window did not appear within 20 s\n");
    return 1;
  }
  const double b = Median(bareMs), c = Median(corvaneMs);
  std::printf("startup (first window, median of %d): bare Qt 6 window %.1f ms, corvane 1033 %.1f ms, ratio %.2f "
              "(goal <= 1.5); CPU time until then %.0f ms and %.0f ms\n",
              rounds, b, c, c / b, Median(bareCpu), Median(corvaneCpu));
  return 0;
}
