// corvane-cli ports: the port map with each port's device, and whether this user may open it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "CliSimFixture.h"
#include "platform/CRegStore.h"

namespace clitest {
namespace {

// The row of a COM name in the table.
std::string Row(const std::string& table, const std::string& com) {
  for (const std::string& line : Lines(table))
    if (line.rfind(com + " ", 0) == 0) return line;
  return {};
}

TEST_F(CliSimTest, PortsShowTheMapAndWhoMayOpenEachPort) {
  StartSim({"--no-tcp", "--com", "5"});
  // COM9 names a file nobody may open (root excepted, whom permissions do not stop).
  const std::string closed = m_home.File("closed");
  std::ofstream(closed) << "";
  ASSERT_EQ(::chmod(closed.c_str(), 0), 0);
  setenv("PROGRAMDATA", m_home.Path().c_str(), 1);
  ASSERT_EQ(corvane::platform::CRegStore().SetString(corvane::platform::RegRoot::LocalMachine,
                                                    "SOFTWARE\\Zelmar\\Corvane\\Ports", "COM9", closed),
            0);
  const CliResult r = Cli({"ports"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out)[0].rfind("COM", 0), 0u);
  EXPECT_NE(Row(r.out, "COM5").find(Pty()), std::string::npos) << r.out;
  EXPECT_NE(Row(r.out, "COM5").find("  yes"), std::string::npos) << r.out;
  if (::geteuid() == 0) {
    EXPECT_NE(Row(r.out, "COM9").find("  yes"), std::string::npos) << r.out;
  } else {
    EXPECT_NE(Row(r.out, "COM9").find("no: " + closed + ": Permission denied; add the user to the group owning the device"),
              std::string::npos)
        << r.out;
  }

  // A program that holds the line the way serial tools lock it is named.
  const int held = ::open(Pty().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  const CliResult busy = Cli({"ports", "--json"});
  ::close(held);
  ASSERT_EQ(busy.status, 0) << busy.err;
  EXPECT_NE(busy.out.find("{\"com\":\"COM5\",\"device\":\"" + Pty() + "\",\"byId\":\"\",\"driver\":\"\",\"available\":false,"
                          "\"reason\":\"" + Pty() + " is in use by cli_tests (pid " + std::to_string(::getpid()) + ")\"}"),
            std::string::npos)
      << busy.out;
}

TEST_F(CliSimTest, APortHeldByAnotherProgramIsRefusedByName) {
  StartSim({"--no-tcp", "--com", "5"});
  const int held = ::open(Pty().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  const CliResult r = Cli({"read", "COM5", "-m", "rtu"});
  ::close(held);
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("is in use by cli_tests (pid " + std::to_string(::getpid()) + ")"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace clitest
