#pragma once
// Answers one discovery request with the datagrams a test chose, in order, optionally paced, and
// notes when the last one left. A discovery reply record: code big-endian at 0-1, the device's
// address little-endian at 72-75.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace corvane::test {

using Datagram = std::vector<std::uint8_t>;

inline Datagram DiscoveryReply(std::uint16_t code, std::uint32_t address) {
  Datagram reply(100, 0);
  reply[0] = static_cast<std::uint8_t>(code >> 8);
  reply[1] = static_cast<std::uint8_t>(code & 0xFF);
  for (int k = 0; k < 4; ++k) reply[72 + k] = static_cast<std::uint8_t>(address >> (8 * k));
  return reply;
}

class DiscoveryResponder {
public:
  using Clock = std::chrono::steady_clock;

  // Listens on address:20006 (host value).
  explicit DiscoveryResponder(std::uint32_t address) {
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(20006);
    at.sin_addr.s_addr = htonl(address);
    const int size = 1 << 20;  // a burst of replies must not overflow our own send queue
    if (m_fd >= 0) ::setsockopt(m_fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    m_ok = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
  }
  ~DiscoveryResponder() {
    if (m_thread.joinable()) m_thread.join();
    if (m_fd >= 0) ::close(m_fd);
  }
  DiscoveryResponder(const DiscoveryResponder&) = delete;
  DiscoveryResponder& operator=(const DiscoveryResponder&) = delete;

  bool Ok() const { return m_ok; }

  // Waits up to 5 s for one request, then sends `replies` to its sender, `pace` apart; on
  // processor `cpu` when one is given.
  void ServeOnce(std::vector<Datagram> replies, std::chrono::microseconds pace = {}, int cpu = -1) {
    m_thread = std::thread([this, replies = std::move(replies), pace, cpu] {
      if (cpu >= 0) {
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(cpu, &set);
        ::pthread_setaffinity_np(::pthread_self(), sizeof set, &set);
      }
      pollfd p{m_fd, POLLIN, 0};
      if (::poll(&p, 1, 5000) != 1) return;
      unsigned char request[256];
      sockaddr_in from{};
      socklen_t length = sizeof from;
      if (::recvfrom(m_fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &length) <= 0) return;
      m_sent.reserve(replies.size());
      for (std::size_t i = 0; i < replies.size(); ++i) {
        if (i > 0 && pace.count() > 0) std::this_thread::sleep_for(pace);
        // Taken before the send: the reply cannot be read any earlier.
        m_sent.push_back(Clock::now());
        ::sendto(m_fd, replies[i].data(), replies[i].size(), 0, reinterpret_cast<sockaddr*>(&from), length);
      }
    });
  }
  // When each reply left, and the last one (join the sender).
  const std::vector<Clock::time_point>& SendTimes() {
    if (m_thread.joinable()) m_thread.join();
    return m_sent;
  }
  Clock::time_point LastReply() { return SendTimes().empty() ? Clock::time_point{} : SendTimes().back(); }

private:
  int m_fd = -1;
  bool m_ok = false;
  std::thread m_thread;
  std::vector<Clock::time_point> m_sent;
};

}  // namespace corvane::test
