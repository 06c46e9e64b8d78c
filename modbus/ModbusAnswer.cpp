#include "modbus/ModbusAnswer.h"

#include <cstdio>

namespace corvane {

std::string ExceptionText(int code, bool withName) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", code & 0xFF);
  const std::string name = withName ? modbus::ExceptionName(code) : "";
  return std::string("exception ") + hex + (name.empty() ? "" : " (" + name + ")");
}

std::string ModbusAnswer::FailureText() const {
  if (result > 0) return {};
  if (result == modbus::kException) return ExceptionText(exception);
  return modbus::ResultText(result);
}

}  // namespace corvane
