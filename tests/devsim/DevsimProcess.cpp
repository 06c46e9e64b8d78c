#include "DevsimProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "libs/portlink/Crc16.h"

namespace {
using Clock = std::chrono::steady_clock;

int WaitPid(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (r < 0) return -1;
    usleep(5000);
  }
  return -2;
}
}  // namespace

DevsimProcess::~DevsimProcess() {
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
  if (m_out >= 0) close(m_out);
}

bool DevsimProcess::Start(const std::vector<std::string>& args, const std::string& home) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  const std::string program = std::string(CORVANE_BIN_DIR) + "/corvane-devsim";
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  m_pid = fork();
  if (m_pid == 0) {
    dup2(pipeFds[1], 1);
    close(pipeFds[0]);
    close(pipeFds[1]);
    setenv("PROGRAMDATA", home.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  m_out = pipeFds[0];
  if (m_pid < 0) return false;
  const auto end = Clock::now() + std::chrono::seconds(10);
  std::string line;
  while (Clock::now() < end) {
    pollfd p{m_out, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c = 0;
    if (read(m_out, &c, 1) != 1) return false;
    if (c == '\n') break;
    line += c;
  }
  if (line.rfind("READY", 0) != 0) return false;
  m_ready = line;
  std::istringstream in(line.substr(5));
  for (std::string w; in >> w;) {
    const auto eq = w.find('=');
    if (eq != std::string::npos) m_fields[w.substr(0, eq)] = w.substr(eq + 1);
  }
  return true;
}

int DevsimProcess::Stop() {
  if (m_pid <= 0) return -1;
  kill(m_pid, SIGTERM);
  const int status = WaitPid(m_pid, std::chrono::seconds(5));
  if (status != -2) m_pid = -1;
  return status < 0 ? -1 : status;
}

int DevsimProcess::WaitExit(std::chrono::milliseconds limit) {
  const int status = WaitPid(m_pid, limit);
  if (status != -2) m_pid = -1;
  return status < 0 ? -1 : status;
}

std::string DevsimProcess::Field(const std::string& name) const {
  const auto it = m_fields.find(name);
  return it == m_fields.end() ? std::string() : it->second;
}

namespace devsim_test {

int ConnectTcp(const std::string& hostPort) {
  const auto colon = hostPort.rfind(':');
  if (colon == std::string::npos) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(std::atoi(hostPort.c_str() + colon + 1)));
  if (inet_pton(AF_INET, hostPort.substr(0, colon).c_str(), &a.sin_addr) != 1) return -1;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  return fd;
}

int OpenPty(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  termios t{};
  if (tcgetattr(fd, &t) == 0) {
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
  }
  return fd;
}

int UdpSocket() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const int big = 4 * 1024 * 1024;
  setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  return fd;
}

bool SendAll(int fd, const Bytes& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

Bytes ReadFor(int fd, std::size_t want, std::chrono::milliseconds limit, bool* closed) {
  Bytes out;
  if (closed) *closed = false;
  const auto end = Clock::now() + limit;
  while (out.size() < want) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    std::uint8_t buf[1024];
    const ssize_t n = read(fd, buf, std::min(sizeof buf, want - out.size()));
    if (n <= 0) {
      if (closed) *closed = true;
      break;
    }
    out.insert(out.end(), buf, buf + n);
  }
  return out;
}

Bytes Rtu(const Bytes& adu) {
  Bytes out = adu;
  const std::uint16_t crc = corvane::Crc16Modbus(adu.data(), adu.size());
  out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  out.push_back(static_cast<std::uint8_t>(crc >> 8));
  return out;
}

std::string Hex(const Bytes& data) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (std::uint8_t b : data) {
    if (!s.empty()) s += ' ';
    s += kHex[b >> 4];
    s += kHex[b & 0xF];
  }
  return s;
}

}  // namespace devsim_test
