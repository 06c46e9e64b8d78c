#include "tools/cli/CTimeStamp.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace corvane::cli {

std::string CTimeStamp::Local(std::chrono::system_clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
  const int milli = static_cast<int>((ms % 1000 + 1000) % 1000);
  std::tm tm{};
  localtime_r(&seconds, &tm);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
  const long offset = tm.tm_gmtoff / 60;  // minutes east of UTC
  char text[64];
  std::snprintf(text, sizeof text, "%s.%03d%c%02ld:%02ld", date, milli, offset < 0 ? '-' : '+', std::labs(offset) / 60,
                std::labs(offset) % 60);
  return text;
}

}  // namespace corvane::cli
