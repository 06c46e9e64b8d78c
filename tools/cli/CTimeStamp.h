#pragma once
// Time stamps for records a program writes: local time with milliseconds and the offset from
// UTC, "2024-05-02T14:03:07.125+02:00" (ISO 8601 / RFC 3339).
#include <chrono>
#include <string>

namespace corvane::cli {

class CTimeStamp {
public:
  static std::string Local(std::chrono::system_clock::time_point when);
};

}  // namespace corvane::cli
