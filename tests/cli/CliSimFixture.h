#pragma once
// A test folder and one corvane-devsim serving it: Modbus TCP on a free loopback port, the pty.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "tests/devsim/DevsimProcess.h"

namespace clitest {

class CliSimTest : public ::testing::Test {
protected:
  // The simulator with `args` plus a free TCP port and no discovery responder.
  void StartSim(std::vector<std::string> args) {
    args.insert(args.end(), {"--tcp-port", "0", "--no-udp"});
    ASSERT_TRUE(m_sim.Start(args, m_home.Path())) << m_sim.ReadyLine();
  }
  // "127.0.0.1:port" of the simulator's listener.
  std::string Tcp() const { return m_sim.Field("tcp"); }
  std::string Pty() const { return m_sim.Field("pty"); }
  std::string TcpPort() const { return Tcp().substr(Tcp().find(':') + 1); }
  CliResult Cli(const std::vector<std::string>& args, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    return RunCli(args, m_home.Path(), limit);
  }

  TempHome m_home;
  DevsimProcess m_sim;
};

}  // namespace clitest
