#include "modbus/ModbusAnswer.h"

namespace corvane {

std::string ModbusAnswer::FailureText() const {
  if (result > 0) return {};
  if (result == modbus::kException) return "exception " + std::to_string(exception);
  return modbus::ResultText(result);
}

}  // namespace corvane
