#include "tools/devsim/DeviceSpec.h"

#include "tools/devsim/Numbers.h"

namespace corvane::devsim {

namespace {
constexpr std::size_t kMaxSubModules = 8;
constexpr std::size_t kMaxRegisters = 4096;

bool Word(const std::string& text, std::uint16_t& out) {
  long v = 0;
  if (!ParseNumber(text, v) || v < 0 || v > 0xFFFF) return false;
  out = static_cast<std::uint16_t>(v);
  return true;
}
}  // namespace

bool DeviceSpec::Parse(const std::string& line, std::string& error) {
  auto words = SplitWhitespace(line);
  std::size_t first = (!words.empty() && words[0] == "device") ? 1 : 0;
  for (std::size_t i = first; i < words.size(); ++i) {
    const std::string& w = words[i];
    const auto eq = w.find('=');
    if (eq == std::string::npos) {
      error = "expected key=value, got '" + w + "'";
      return false;
    }
    const std::string key = w.substr(0, eq);
    const std::string value = w.substr(eq + 1);
    long n = 0;
    bool ok = true;
    if (key == "code") {
      ok = Word(value, code);
    } else if (key == "station") {
      ok = ParseNumber(value, n) && n >= 0 && n <= 255;
      if (ok) station = static_cast<std::uint8_t>(n);
    } else if (key == "ip") {
      ok = ParseIPv4(value, ip);
    } else if (key == "port") {
      ok = ParseNumber(value, n) && n >= 0 && n <= 65535;
      if (ok) tcpPort = static_cast<int>(n);
    } else if (key == "sub") {
      subModules.clear();
      for (const std::string& s : Split(value, ',')) {
        std::uint16_t v = 0;
        if (s.empty()) continue;
        if (!Word(s, v) || subModules.size() >= kMaxSubModules) {
          ok = false;
          break;
        }
        subModules.push_back(v);
      }
    } else if (key == "reg") {
      for (const std::string& s : Split(value, ',')) {
        const auto colon = s.find(':');
        std::uint16_t a = 0, v = 0;
        if (colon == std::string::npos || !Word(s.substr(0, colon), a) || !Word(s.substr(colon + 1), v) ||
            registers.size() >= kMaxRegisters) {
          ok = false;
          break;
        }
        registers[a] = v;
      }
    } else if (key == "fault") {
      faultText += (faultText.empty() ? "" : ",") + value;
    } else {
      error = "unknown device key '" + key + "'";
      return false;
    }
    if (!ok) {
      error = "bad value in '" + w + "'";
      return false;
    }
  }
  return true;
}

std::map<std::uint16_t, std::uint16_t> DeviceSpec::InitialRegisters() const {
  std::map<std::uint16_t, std::uint16_t> regs;
  regs[0x0012] = 1;
  regs[0x0013] = code;
  const std::uint16_t base = SubModuleBase();
  for (std::size_t i = 0; i < subModules.size(); ++i) regs[static_cast<std::uint16_t>(base + i)] = subModules[i];
  for (const auto& [a, v] : registers) regs[a] = v;
  return regs;
}

}  // namespace corvane::devsim
