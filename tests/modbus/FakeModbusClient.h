#pragma once
// A Modbus client whose answers the test decides: per station and function, with a record of
// every request.
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "modbus/IModbusClient.h"

namespace corvane::test {

struct Asked {
  std::uint8_t station;
  std::uint8_t function;
  std::vector<std::uint8_t> data;
};

class FakeModbusClient : public IModbusClient {
public:
  using Answerer = std::function<ModbusAnswer(const Asked&)>;
  explicit FakeModbusClient(Answerer answerer) : m_answerer(std::move(answerer)) {}

  ModbusAnswer Transact(std::uint8_t station, std::uint8_t function, std::span<const std::uint8_t> data) override {
    asked.push_back({station, function, {data.begin(), data.end()}});
    return m_answerer(asked.back());
  }

  std::vector<Asked> asked;

private:
  Answerer m_answerer;
};

inline ModbusAnswer Data(std::vector<std::uint8_t> bytes) {
  ModbusAnswer a;
  a.result = static_cast<int>(bytes.size());
  a.data = std::move(bytes);
  return a;
}
inline ModbusAnswer Failure(int result, int exception = 0) {
  ModbusAnswer a;
  a.result = result;
  a.exception = exception;
  return a;
}

}  // namespace corvane::test
