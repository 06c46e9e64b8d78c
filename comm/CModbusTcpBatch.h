#pragma once
// Many one-request Modbus TCP exchanges at once, on the calling thread: a non-blocking connect
// to every address, each request sent as soon as its connection opens, every socket watched by
// one poll. Each exchange is bounded by the connect time-out and then by the response time-out,
// so exchanges started together end together within connect + response time-out however many
// peers stay silent. Exchanges can be added while others run (the search adds one per reply).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "libs/portlink/UniqueFd.h"

namespace corvane {

struct ModbusTcpQuery {
  std::uint32_t address = 0;  // IPv4, first octet in the most significant byte
  std::uint8_t unit = 0;
  std::uint8_t function = 0;  // 0: connect and close again, no request
  std::vector<std::uint8_t> data;  // the request's bytes after the function code
};

struct ModbusTcpAnswer {
  // Above 0: the reply's data bytes are in `data` (as CPortLink::Response gives them); for a
  // connect-only query, 1 when the connection opened. Otherwise a modbus::Result code; 0 for
  // an exchange that never ran.
  int result = 0;
  std::vector<std::uint8_t> data;
};

struct ModbusTcpLimits {
  int connectTimeoutMs = 3000;
  int responseTimeoutMs = 1000;
  // Sockets open at once; more exchanges wait for a free place (and then end later).
  std::size_t maxInFlight = 255;
};

class CModbusTcpBatch {
public:
  using Progress = std::function<void(std::size_t done, std::size_t total)>;

  CModbusTcpBatch(int port, ModbusTcpLimits limits) : m_port(port), m_limits(limits) {}

  // Queues one exchange; it starts at once while the in-flight limit allows.
  void Add(ModbusTcpQuery query);
  // Handles what is ready, waiting up to timeoutMs for something to happen (0: no wait).
  void Poll(int timeoutMs);
  bool Busy() const { return m_done < m_exchanges.size(); }
  std::size_t Size() const { return m_exchanges.size(); }
  // Runs until every exchange has ended (`progress` after each, and every 100 ms); the answers
  // in the order the exchanges were added.
  std::vector<ModbusTcpAnswer> Finish(const Progress& progress = {});

  // Every query at once.
  static std::vector<ModbusTcpAnswer> Run(int port, ModbusTcpLimits limits, std::span<const ModbusTcpQuery> queries,
                                          const Progress& progress = {});

private:
  enum class Stage { Waiting, Connecting, Sending, Receiving, Done };
  struct Exchange {
    ModbusTcpQuery query;
    ModbusTcpAnswer answer;
    Stage stage = Stage::Waiting;
    UniqueFd fd;
    std::int64_t deadline = 0;
    std::vector<std::uint8_t> out;
    std::size_t sent = 0;
    std::vector<std::uint8_t> in;
  };

  void StartWaiting();
  bool Start(std::size_t i);
  void Connected(std::size_t i);
  void Send(std::size_t i);
  void Receive(std::size_t i);
  void Decode(std::size_t i, std::size_t pduLength);
  void Handle(std::size_t i, short events);
  void End(std::size_t i, int result);

  int m_port;
  ModbusTcpLimits m_limits;
  std::vector<Exchange> m_exchanges;
  std::size_t m_next = 0;  // the first exchange not started yet
  std::size_t m_inFlight = 0;
  std::size_t m_done = 0;
  const Progress* m_progress = nullptr;
};

}  // namespace corvane
