#pragma once
// Runs corvane-devsim for one test: starts it, waits for its READY line, stops it with SIGTERM.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class DevsimProcess {
 public:
  DevsimProcess() = default;
  DevsimProcess(const DevsimProcess&) = delete;
  DevsimProcess& operator=(const DevsimProcess&) = delete;
  ~DevsimProcess();

  // Starts the program with `args`, PROGRAMDATA, XDG_RUNTIME_DIR and XDG_CONFIG_HOME set to `home`.
  bool Start(const std::vector<std::string>& args, const std::string& home);
  // Sends SIGTERM and returns the exit status (-1 when it did not exit normally in time).
  int Stop();
  // Exit status of a program that ends on its own (bad options), -1 on a time-out.
  int WaitExit(std::chrono::milliseconds limit);

  const std::string& ReadyLine() const { return m_ready; }
  // A field of the READY line: "pty", "tcp", "udp", "porthub", "porthub-port".
  std::string Field(const std::string& name) const;

 private:
  pid_t m_pid = -1;
  int m_out = -1;
  std::string m_ready;
  std::map<std::string, std::string> m_fields;
};

// Small socket and byte helpers for the tests.
namespace devsim_test {
using Bytes = std::vector<std::uint8_t>;
int ConnectTcp(const std::string& hostPort);
int OpenPty(const std::string& path);
int UdpSocket();
bool SendAll(int fd, const Bytes& data);
// Reads until `want` bytes came, the peer closed, or `limit` passed.
Bytes ReadFor(int fd, std::size_t want, std::chrono::milliseconds limit, bool* closed = nullptr);
Bytes Rtu(const Bytes& aduWithoutCrc);
std::string Hex(const Bytes& data);
}  // namespace devsim_test
