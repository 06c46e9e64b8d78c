#include "modules/paramedit/CParamFile.h"

#include <charconv>
#include <fstream>
#include <set>

namespace corvane::paramedit {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool ParseInt(std::string_view s, std::int64_t& out) {
  s = Trim(s);
  int base = 10;
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty() || s.size() > 10) return false;
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  out = negative ? -value : value;
  return true;
}

std::string LineError(std::size_t line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

}  // namespace

ParamFileResult CParamFile::Parse(std::string_view text) {
  ParamFileResult result;
  if (text.size() > kMaxFileSize) {
    result.error = "file larger than " + std::to_string(kMaxFileSize) + " bytes";
    return result;
  }
  std::set<std::uint16_t> addresses;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    ++lineNumber;
    auto fail = [&](const std::string& what) {
      result.params.clear();
      result.error = LineError(lineNumber, what);
      return result;
    };
    if (line.size() > kMaxLineLength) return fail("longer than " + std::to_string(kMaxLineLength) + " characters");
    line = Trim(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;

    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
      const std::size_t comma = line.find(',', start);
      fields.push_back(Trim(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    if (fields.size() != 6) return fail("expected 6 fields (address, name, unit, minimum, maximum, access), found " +
                                        std::to_string(fields.size()));
    ParamSpec spec;
    std::int64_t address = 0, minimum = 0, maximum = 0;
    if (!ParseInt(fields[0], address) || address < 0 || address > 0xFFFF) return fail("address is not 0..0xFFFF");
    spec.address = static_cast<std::uint16_t>(address);
    if (!addresses.insert(spec.address).second) return fail("address given twice");
    if (fields[1].empty() || fields[1].size() > kMaxNameLength)
      return fail("name must have 1.." + std::to_string(kMaxNameLength) + " characters");
    spec.name = fields[1];
    if (fields[2].size() > kMaxUnitLength) return fail("unit longer than " + std::to_string(kMaxUnitLength) + " characters");
    spec.unit = fields[2];
    if (!ParseInt(fields[3], minimum) || !ParseInt(fields[4], maximum)) return fail("minimum or maximum is not a number");
    if (minimum > maximum) return fail("minimum above maximum");
    // One register: unsigned 0..65535, or signed -32768..32767.
    const bool fits = minimum < 0 ? (minimum >= -32768 && maximum <= 32767) : maximum <= 0xFFFF;
    if (!fits) return fail("range does not fit a 16-bit register");
    spec.minimum = static_cast<std::int32_t>(minimum);
    spec.maximum = static_cast<std::int32_t>(maximum);
    if (fields[5] == "ro") spec.readOnly = true;
    else if (fields[5] != "rw") return fail("access must be rw or ro");
    if (result.params.size() == kMaxParams) return fail("more than " + std::to_string(kMaxParams) + " parameters");
    result.params.push_back(std::move(spec));
  }
  return result;
}

ParamFileResult CParamFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, "cannot open " + path};
  std::string text(kMaxFileSize + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  ParamFileResult result = Parse(text);
  if (!result.Ok()) result.error = path + ": " + result.error;
  return result;
}

}  // namespace corvane::paramedit
