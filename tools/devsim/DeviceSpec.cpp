#include "tools/devsim/DeviceSpec.h"

#include <cstdio>

#include "tools/devsim/Numbers.h"

namespace corvane::devsim {

namespace {
constexpr std::size_t kMaxSubModules = 8;
constexpr std::size_t kMaxRegisters = 4096;

constexpr std::size_t kMaxIdentObjects = 7;
constexpr std::size_t kMaxIdentText = 245;

bool Word(const std::string& text, std::uint16_t& out) {
  long v = 0;
  if (!ParseNumber(text, v) || v < 0 || v > 0xFFFF) return false;
  out = static_cast<std::uint16_t>(v);
  return true;
}

// "addr:value,addr:value" into a table; values up to `max`.
template <class T>
bool Pairs(const std::string& text, long max, std::map<std::uint16_t, T>& table) {
  for (const std::string& s : Split(text, ',')) {
    const auto colon = s.find(':');
    std::uint16_t a = 0;
    long v = 0;
    if (colon == std::string::npos || !Word(s.substr(0, colon), a) || !ParseNumber(s.substr(colon + 1), v) || v < 0 ||
        v > max || table.size() >= kMaxRegisters)
      return false;
    table[a] = static_cast<T>(v);
  }
  return true;
}

bool Ident(const std::string& text, std::vector<std::string>& objects, bool& none) {
  objects.clear();
  none = text == "none";
  if (none) return true;
  objects = Split(text, ',');
  if (objects.size() < 3 || objects.size() > kMaxIdentObjects) return false;
  for (const std::string& o : objects)
    if (o.size() > kMaxIdentText) return false;
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
      ok = Pairs(value, 0xFFFF, registers);
    } else if (key == "input") {
      ok = Pairs(value, 0xFFFF, inputs);
    } else if (key == "coil") {
      ok = Pairs(value, 1, coils);
    } else if (key == "discrete") {
      ok = Pairs(value, 1, discrete);
    } else if (key == "ident") {
      ok = Ident(value, ident, identNone);
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

DeviceTables DeviceSpec::InitialTables() const {
  DeviceTables t;
  t.holding[0x0012] = 1;
  t.holding[0x0013] = code;
  const std::uint16_t base = SubModuleBase();
  for (std::size_t i = 0; i < subModules.size(); ++i) t.holding[static_cast<std::uint16_t>(base + i)] = subModules[i];
  for (const auto& [a, v] : registers) t.holding[a] = v;
  t.input = inputs;
  t.coils = coils;
  t.discrete = discrete;
  if (!ident.empty()) {
    t.ident = ident;
  } else if (!identNone) {
    char product[8];
    std::snprintf(product, sizeof product, "%04X", code);
    t.ident = {"Zelmar", product, "1.00"};
  }
  return t;
}

}  // namespace corvane::devsim
