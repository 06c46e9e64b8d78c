#include "tools/devsim/FaultSet.h"

#include "tools/devsim/Numbers.h"

namespace corvane::devsim {

namespace {
bool Arg(const std::string& value, long lo, long hi, int& out) {
  long v = 0;
  if (!ParseNumber(value, v) || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}
}  // namespace

bool FaultSet::Parse(const std::string& text, std::string& error) {
  for (const std::string& item : Split(text, ',')) {
    if (item.empty()) continue;
    const auto colon = item.find(':');
    const std::string name = item.substr(0, colon);
    const std::string value = colon == std::string::npos ? std::string() : item.substr(colon + 1);
    bool ok = true;
    if (name == "late") ok = Arg(value, 0, 600000, lateMs);
    else if (name == "bytewise") ok = value.empty() ? (byteGapMs = 2, true) : Arg(value, 0, 10000, byteGapMs);
    else if (name == "wrongtid") wrongTid = true;
    else if (name == "wrongstation") wrongStation = true;
    else if (name == "badcrc" || name == "badcheck") badCheck = true;
    else if (name == "badcount") badCount = true;
    else if (name == "noreply") noReply = true;
    else if (name == "close") closeMidFrame = true;
    else if (name == "exception") ok = value.empty() ? (exception = 2, true) : Arg(value, 1, 255, exception);
    else if (name == "parity") ok = value.empty() ? (parityByte = 3, true) : Arg(value, 0, 600, parityByte);
    else if (name == "udpsize") ok = Arg(value, 0, 65000, udpSize);
    else if (name == "udpcopies") ok = Arg(value, 0, 100000, udpCopies);
    else if (name == "count") ok = Arg(value, 0, 1000000, count);
    else {
      error = "unknown fault '" + name + "'";
      return false;
    }
    if (!ok) {
      error = "bad value in fault '" + item + "'";
      return false;
    }
  }
  return true;
}

bool FaultSet::Any() const {
  return lateMs > 0 || byteGapMs >= 0 || wrongTid || wrongStation || badCheck || badCount || noReply ||
         closeMidFrame || exception != 0 || parityByte >= 0 || udpSize != 100 || udpCopies != 1;
}

}  // namespace corvane::devsim
