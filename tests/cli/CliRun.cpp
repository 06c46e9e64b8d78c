#include "CliRun.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace clitest {
namespace {

using Clock = std::chrono::steady_clock;

void Drain(int fd, std::string& into, bool& open) {
  char buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) into.append(buffer, static_cast<std::size_t>(n));
  else open = false;
}

CliResult Run(const std::vector<std::string>& args, const std::string& home, std::chrono::milliseconds limit,
              std::chrono::milliseconds terminateAfter, std::size_t outLines = 0) {
  CliResult result;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return result;
  const std::string program = std::string(CORVANE_BIN_DIR) + "/corvane-cli";
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]), close(out[1]), close(err[0]), close(err[1]);
    setenv("PROGRAMDATA", home.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  bool outOpen = true, errOpen = true;
  const auto started = Clock::now();
  const auto end = started + limit;
  bool terminated = false;
  while ((outOpen || errOpen) && Clock::now() < end) {
    // Only once the run has said something: a slow start (a sanitizer build) must not be
    // stopped before its handler is there.
    if (!terminated && terminateAfter.count() > 0 && Clock::now() >= started + terminateAfter &&
        (!result.err.empty() || !result.out.empty()) &&
        static_cast<std::size_t>(std::count(result.out.begin(), result.out.end(), '\n')) >= outLines) {
      kill(pid, SIGTERM);
      terminated = true;
    }
    pollfd p[2] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0}};
    if (poll(p, 2, 100) <= 0) continue;
    if (p[0].revents) Drain(out[0], result.out, outOpen);
    if (p[1].revents) Drain(err[0], result.err, errOpen);
  }
  close(out[0]);
  close(err[0]);
  int status = 0;
  if (outOpen || errOpen) kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  result.status = !outOpen && !errOpen && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& home, std::chrono::milliseconds limit) {
  return Run(args, home, limit, std::chrono::milliseconds(0));
}

CliResult RunCliUntilTerminated(const std::vector<std::string>& args, const std::string& home,
                                std::chrono::milliseconds terminateAfter, std::size_t outLines) {
  return Run(args, home, terminateAfter + std::chrono::seconds(30), terminateAfter, outLines);
}

TempHome::TempHome() {
  char tmpl[] = "/tmp/corvane-cli-test-XXXXXX";
  if (mkdtemp(tmpl)) m_path = tmpl;
}

TempHome::~TempHome() {
  std::error_code ec;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

void TempHome::WriteSettings(const std::vector<std::string>& lines) const {
  const std::string folder = m_path + "/Zelmar Industrial Automation/Communication/Corvane/Config";
  std::filesystem::create_directories(folder);
  std::ofstream ini(folder + "/CVN.ini");
  ini << "[CommConf]\n";
  for (const std::string& l : lines) ini << l << "\n";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

}  // namespace clitest
