#pragma once
// Independent Modbus servers for the interoperability tests and the benchmark; holding register i
// holds 3 * i + 1 (registers 0..199).
#include <arpa/inet.h>
#include <modbus.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace commtest {

class ChildProcess {
 public:
  ~ChildProcess() { Stop(); }
  bool Start(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    return m_pid > 0;
  }
  void Stop() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

 private:
  pid_t m_pid = -1;
};

inline bool HasPymodbus() {
  return ::access("/usr/bin/python3", X_OK) == 0 &&
         std::system("/usr/bin/python3 -c 'import pymodbus.server' >/dev/null 2>&1") == 0;
}

// Two linked ptys made by socat, in a private temporary folder.
class PtyPair {
 public:
  ~PtyPair() {
    Stop();
    if (!m_dir.empty()) {
      ::unlink(DeviceSide().c_str());
      ::unlink(HostSide().c_str());
      ::rmdir(m_dir.c_str());
    }
  }
  bool Start() {
    if (::access("/usr/bin/socat", X_OK) != 0) return false;
    char dir[] = "/tmp/corvane-pty-XXXXXX";
    if (!::mkdtemp(dir)) return false;
    m_dir = dir;
    if (!m_socat.Start({"/usr/bin/socat", "pty,raw,echo=0,link=" + DeviceSide(), "pty,raw,echo=0,link=" + HostSide()}))
      return false;
    for (int i = 0; i < 100; ++i) {
      struct stat st;
      if (::stat(DeviceSide().c_str(), &st) == 0 && ::stat(HostSide().c_str(), &st) == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  void Stop() { m_socat.Stop(); }
  std::string DeviceSide() const { return m_dir + "/device"; }
  std::string HostSide() const { return m_dir + "/host"; }

 private:
  std::string m_dir;
  ChildProcess m_socat;
};

inline modbus_mapping_t* NewMapping() {
  modbus_mapping_t* map = modbus_mapping_new(0, 0, 200, 200);
  for (int i = 0; map && i < 200; ++i) map->tab_registers[i] = map->tab_input_registers[i] = static_cast<uint16_t>(3 * i + 1);
  return map;
}

// Serves requests until the peer goes away.
inline void ServeLoop(modbus_t* ctx, modbus_mapping_t* map) {
  uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
  for (;;) {
    const int rc = modbus_receive(ctx, query);
    if (rc > 0) modbus_reply(ctx, query, rc, map);
    else if (rc == -1) break;
  }
}

class LibmodbusTcpServer {
 public:
  ~LibmodbusTcpServer() {
    if (m_listen >= 0) ::shutdown(m_listen, SHUT_RDWR);
    if (m_thread.joinable()) m_thread.join();
    if (m_listen >= 0) ::close(m_listen);
    if (m_ctx) {
      modbus_close(m_ctx);
      modbus_free(m_ctx);
    }
    if (m_map) modbus_mapping_free(m_map);
  }
  bool Start() {
    m_ctx = modbus_new_tcp("127.0.0.1", 0);
    m_map = NewMapping();
    if (!m_ctx || !m_map) return false;
    m_listen = modbus_tcp_listen(m_ctx, 1);
    if (m_listen < 0) return false;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&sa), &len);
    m_port = ntohs(sa.sin_port);
    m_thread = std::thread([this] {
      // One client at a time, until the listening socket is shut down.
      int s = m_listen;
      while (modbus_tcp_accept(m_ctx, &s) >= 0) {
        ServeLoop(m_ctx, m_map);
        modbus_close(m_ctx);
      }
    });
    return true;
  }
  int Port() const { return m_port; }

 private:
  modbus_t* m_ctx = nullptr;
  modbus_mapping_t* m_map = nullptr;
  int m_listen = -1;
  int m_port = 0;
  std::thread m_thread;
};

class LibmodbusRtuServer {
 public:
  ~LibmodbusRtuServer() {
    if (m_thread.joinable()) m_thread.join();
    if (m_ctx) {
      modbus_close(m_ctx);
      modbus_free(m_ctx);
    }
    if (m_map) modbus_mapping_free(m_map);
  }
  // The thread ends when the pty pair is stopped (the read fails).
  bool Start(const std::string& path) {
    m_ctx = modbus_new_rtu(path.c_str(), 9600, 'N', 8, 1);
    m_map = NewMapping();
    if (!m_ctx || !m_map || modbus_set_slave(m_ctx, 1) != 0 || modbus_connect(m_ctx) != 0) return false;
    m_thread = std::thread([this] { ServeLoop(m_ctx, m_map); });
    return true;
  }

 private:
  modbus_t* m_ctx = nullptr;
  modbus_mapping_t* m_map = nullptr;
  std::thread m_thread;
};

}  // namespace commtest
