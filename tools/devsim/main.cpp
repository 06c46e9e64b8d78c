// corvane-devsim: simulated devices for tests, benchmarks and the demo.
#include <signal.h>
#include <sys/signalfd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/devsim/Simulator.h"
#include "tools/devsim/UniqueFd.h"

int main(int argc, char** argv) {
  using namespace corvane::devsim;
  SimOptions options;
  std::string error;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!options.Parse(args, error) || !options.Finish(error)) {
    std::fprintf(stderr, "corvane-devsim: %s (see --help)\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(SimOptions::Usage(), stdout);
    return 0;
  }
  // SIGTERM and SIGINT arrive through a descriptor, so the poll loop ends cleanly.
  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, SIGTERM);
  sigaddset(&mask, SIGINT);
  sigprocmask(SIG_BLOCK, &mask, nullptr);
  signal(SIGPIPE, SIG_IGN);
  UniqueFd sigFd(signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK));
  if (!sigFd.Valid()) {
    std::perror("corvane-devsim: signalfd");
    return 1;
  }
  Simulator sim(std::move(options));
  if (!sim.Start(sigFd.Get(), error)) {
    std::fprintf(stderr, "corvane-devsim: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", sim.ReadyLine().c_str());
  std::fflush(stdout);
  sim.Run();
  return 0;
}
