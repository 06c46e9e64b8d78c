#include "platform/CShell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace corvane::platform {
namespace {

// Double fork: the program is reparented at once, so it never lingers as a zombie, and a
// pipe closed on exec tells whether the exec itself worked.
class SystemStarter final : public IProcessStarter {
public:
  int Start(const std::string& program, const std::vector<std::string>& args,
            const std::string& workingFolder) override {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return errno;
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0) {
      const int error = errno;
      ::close(pipeFds[0]);
      ::close(pipeFds[1]);
      return error;
    }
    if (child == 0) {
      ::close(pipeFds[0]);
      if (::fork() != 0) ::_exit(0);
      ::setsid();
      int error = 0;
      if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) error = errno;
      if (error == 0) {
        ::execvp(program.c_str(), argv.data());
        error = errno;
      }
      (void)!::write(pipeFds[1], &error, sizeof error);
      ::_exit(127);
    }
    ::close(pipeFds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    int error = 0;
    ssize_t n;
    while ((n = ::read(pipeFds[0], &error, sizeof error)) < 0 && errno == EINTR) {}
    ::close(pipeFds[0]);
    return n == static_cast<ssize_t>(sizeof error) ? error : 0;
  }
};

SystemStarter g_system;
IProcessStarter* g_starter = &g_system;

bool IsUrl(const std::string& target) {
  const auto colon = target.find("://");
  return colon != std::string::npos && colon > 0 && target.find('/') > colon;
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
  if (IsUrl(file)) {
    const int error = ProcessStarter().Start("xdg-open", {"xdg-open", file}, workingFolder);
    return error == ENOENT ? 31 : ShellResultForStartError(error);
  }
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
  const int error = ProcessStarter().Start("xdg-open", {"xdg-open", resolved}, workingFolder);
  return error == ENOENT ? 31 : ShellResultForStartError(error);
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

}  // namespace corvane::platform
