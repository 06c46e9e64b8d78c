#pragma once
// What one Modbus request got back: its data, or the link's result code and an exception code.
#include <cstdint>
#include <string>
#include <vector>

#include "libs/portlink/ModbusFrame.h"

namespace corvane {

struct ModbusAnswer {
  // Above 0: the reply's data bytes are in `data` (as CPortLink::Response gives them); else the
  // link's result code (time-out, checksum, exception, ...).
  int result = 0;
  int exception = 0;  // the exception code of an exception reply
  std::vector<std::uint8_t> data;

  // A station is there: it answered with data or with an exception.
  bool Answered() const noexcept { return result > 0 || result == modbus::kException; }
  // Why there is no data, in words: "time-out", "exception 02 (illegal data address)"; empty
  // when there is data.
  std::string FailureText() const;
};

// "exception 02 (illegal data address)", "exception 0A": an exception code as a log line names it.
std::string ExceptionText(int code, bool withName = true);

}  // namespace corvane
