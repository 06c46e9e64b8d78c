#include "platform/CShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace corvane::platform {
namespace {

// In a child: changes folder and runs the program; a failure is written to reportFd as errno.
// Only calls that are safe after fork in a program with threads.
[[noreturn]] void ExecOrReport(const char* program, char* const* argv, const char* folder, int reportFd) {
  int error = 0;
  if (folder[0] != '\0' && ::chdir(folder) != 0) error = errno;
  if (error == 0) {
    ::execvp(program, argv);
    error = errno;
  }
  (void)!::write(reportFd, &error, sizeof error);
  ::_exit(127);
}

bool ReadWhole(int fd, void* data, std::size_t size) {
  ssize_t n;
  while ((n = ::read(fd, data, size)) < 0 && errno == EINTR) {}
  return n == static_cast<ssize_t>(size);
}

void Reap(pid_t pid, int* status) {
  while (::waitpid(pid, status, 0) < 0 && errno == EINTR) {}
}

long long NowMs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// A pipe closed on exec, then a fork. The errno of a failure (nothing left open), else 0.
// Safe in a forked child too.
int PipeAndFork(int fds[2], pid_t& child) {
  if (::pipe2(fds, O_CLOEXEC) != 0) return errno;
  child = ::fork();
  if (child >= 0) return 0;
  const int error = errno;
  ::close(fds[0]);
  ::close(fds[1]);
  return error;
}

// What the watching child reports: the start's errno, whether the program ended, its status.
struct WatchReport {
  int error = 0;
  int ended = 0;
  int status = 0;
};

// The watching child: starts the program as its own child and waits up to waitMs for its end.
// When the watcher leaves, a program still running is handed to init, so it never lingers as a zombie.
[[noreturn]] void Watch(const char* program, char* const* argv, const char* folder, int waitMs, int reportFd) {
  WatchReport report;
  int execFds[2];
  pid_t opener = -1;
  report.error = PipeAndFork(execFds, opener);
  if (report.error == 0 && opener == 0) {
    ::close(execFds[0]);
    ::setsid();
    ExecOrReport(program, argv, folder, execFds[1]);
  }
  if (report.error == 0) {
    ::close(execFds[1]);
    int status = 0;
    if (ReadWhole(execFds[0], &report.error, sizeof report.error)) {
      Reap(opener, &status);
    } else {
      report.error = 0;
      for (const long long end = NowMs() + waitMs;;) {
        if (::waitpid(opener, &status, WNOHANG) == opener) {
          report.ended = 1;
          report.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
          break;
        }
        if (NowMs() >= end) break;
        const timespec pause{0, 10 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
      }
    }
  }
  (void)!::write(reportFd, &report, sizeof report);
  ::_exit(0);
}

std::vector<char*> ArgumentVector(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  return argv;
}

// Double fork: the program is reparented at once, so it never lingers as a zombie, and a
// pipe closed on exec tells whether the exec itself worked.
class SystemStarter final : public IProcessStarter {
public:
  int Start(const std::string& program, const std::vector<std::string>& args,
            const std::string& workingFolder) override {
    std::vector<char*> argv = ArgumentVector(args);
    int pipeFds[2];
    pid_t child = -1;
    if (const int error = PipeAndFork(pipeFds, child)) return error;
    if (child == 0) {
      ::close(pipeFds[0]);
      if (::fork() != 0) ::_exit(0);
      ::setsid();
      ExecOrReport(program.c_str(), argv.data(), workingFolder.c_str(), pipeFds[1]);
    }
    ::close(pipeFds[1]);
    int status = 0;
    Reap(child, &status);
    int error = 0;
    const bool failed = ReadWhole(pipeFds[0], &error, sizeof error);
    ::close(pipeFds[0]);
    return failed ? error : 0;
  }

  WatchedStart StartWatched(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingFolder, int waitMs) override {
    std::vector<char*> argv = ArgumentVector(args);
    int pipeFds[2];
    pid_t watcher = -1;
    if (const int error = PipeAndFork(pipeFds, watcher)) return {error, std::nullopt};
    if (watcher == 0) {
      ::close(pipeFds[0]);
      Watch(program.c_str(), argv.data(), workingFolder.c_str(), waitMs, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    int status = 0;
    Reap(watcher, &status);
    WatchReport report;
    const bool told = ReadWhole(pipeFds[0], &report, sizeof report);
    ::close(pipeFds[0]);
    if (!told) return {0, std::nullopt};  // the watcher vanished: the start stands untold
    if (report.error != 0) return {report.error, std::nullopt};
    return {0, report.ended ? std::optional<int>(report.status) : std::nullopt};
  }
};

SystemStarter g_system;
IProcessStarter* g_starter = &g_system;

bool IsUrl(const std::string& target) {
  const auto colon = target.find("://");
  return colon != std::string::npos && colon > 0 && target.find('/') > colon;
}

// xdg-open's verdict counts: installed but unable to open the target is a failure, not a success.
int OpenWithXdgOpen(const std::string& target, const std::string& workingFolder) {
  const WatchedStart start =
      ProcessStarter().StartWatched("xdg-open", {"xdg-open", target}, workingFolder, kOpenerWaitMs);
  if (start.error != 0) return start.error == ENOENT ? 31 : ShellResultForStartError(start.error);
  return start.exitStatus ? ShellResultForOpenerExit(*start.exitStatus) : 33;
}

}  // namespace

IProcessStarter& ProcessStarter() { return *g_starter; }

IProcessStarter* SetProcessStarter(IProcessStarter* starter) {
  IProcessStarter* previous = g_starter == &g_system ? nullptr : g_starter;
  g_starter = starter ? starter : &g_system;
  return previous;
}

std::vector<std::string> SplitParameters(const std::string& parameters) {
  std::vector<std::string> out;
  std::string current;
  bool inQuotes = false, inToken = false;
  for (char c : parameters) {
    if (c == '"') {
      inQuotes = !inQuotes;
      inToken = true;
    } else if ((c == ' ' || c == '\t') && !inQuotes) {
      if (inToken) out.push_back(current);
      current.clear();
      inToken = false;
    } else {
      current += c;
      inToken = true;
    }
  }
  if (inToken) out.push_back(current);
  return out;
}

int ShellOpen(const std::string& file, const std::string& parameters, const std::string& workingFolder) {
  if (file.empty()) return 2;
  if (IsUrl(file)) return OpenWithXdgOpen(file, workingFolder);
  // A relative file is looked up from the working folder, as the program would see it.
  std::string resolved = (file[0] == '/' || workingFolder.empty()) ? file : workingFolder + "/" + file;
  if (resolved[0] != '/') {
    // The child changes folder before exec: hand it an absolute path.
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd)) resolved = std::string(cwd) + "/" + resolved;
  }
  struct stat st{};
  if (::stat(resolved.c_str(), &st) != 0) {
    const std::string::size_type slash = resolved.rfind('/');
    struct stat folder{};
    if (slash != std::string::npos && ::stat(resolved.substr(0, slash + 1).c_str(), &folder) != 0) return 3;
    return 2;
  }
  if (S_ISREG(st.st_mode) && ::access(resolved.c_str(), X_OK) == 0) {
    std::vector<std::string> args{resolved};
    for (std::string& p : SplitParameters(parameters)) args.push_back(std::move(p));
    return ShellResultForStartError(ProcessStarter().Start(resolved, args, workingFolder));
  }
  return OpenWithXdgOpen(resolved, workingFolder);
}

int ShellResultForStartError(int error) {
  switch (error) {
    case 0: return 33;
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EACCES: case EPERM: return 5;
    case ENOMEM: return 8;
    case ENOEXEC: return 11;
    default: return 0;
  }
}

int ShellResultForOpenerExit(int status) {
  switch (status) {
    case 0: return 33;
    case 2: return 2;
    case 3: case 4: return 31;
    default: return 1;
  }
}

}  // namespace corvane::platform
