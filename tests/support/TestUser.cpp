// Runs a test binary as the unprivileged test user when CORVANE_TEST_USER names one.
// Root ignores exclusive terminal modes and file permissions, so tests of ports, sockets and
// settings folders also run as an ordinary user: ctest registers them a second time with the
// variable set (corvane_test(... UNPRIVILEGED)), and this drops the rights before main().
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_unreachable;  // why the tests cannot run as the user, empty when they can

class SkipWhenUnreachable : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!g_unreachable.empty()) GTEST_SKIP() << g_unreachable;
  }
};

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "test user: %s\n", why.c_str());
  std::_Exit(1);
}

void DropToTestUser() {
  const char* name = std::getenv("CORVANE_TEST_USER");
  if (!name || !*name || ::geteuid() != 0) return;  // already an ordinary user
  const passwd* pw = ::getpwnam(name);
  if (!pw) Fail(std::string("no user '") + name + "': `make test` creates it");
  const uid_t uid = pw->pw_uid;
  const gid_t gid = pw->pw_gid;
  const std::string home = pw->pw_dir;
  if (::initgroups(name, gid) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
    Fail("cannot become " + std::string(name));
  if (::setuid(0) == 0) Fail("rights not dropped");
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("USER", name, 1);
  ::setenv("LOGNAME", name, 1);
  ::unsetenv("XDG_RUNTIME_DIR");  // root's folder; the tests give their own where they need one
  // The build folder must be reachable by the user (a clone below /root is not).
  if (::access(CORVANE_BIN_DIR, R_OK | X_OK) != 0)
    g_unreachable = std::string("the build folder ") + CORVANE_BIN_DIR + " is not reachable by " +
                    name + ": clone the project where other users can read it";
  ::testing::AddGlobalTestEnvironment(new SkipWhenUnreachable);
}

[[maybe_unused]] const bool g_dropped = (DropToTestUser(), true);

}  // namespace
