#include "settings/CIni.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "settings/AsciiText.h"
#include "settings/CProfileFile.h"

namespace corvane {

namespace {

constexpr std::size_t kNumberChars = 64;
constexpr int kMaxPrecision = 100;
constexpr const char* kKeySentinel = "{63788286-AE30-4D6B-95DF-3B451C1C79F9}";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

using ascii::SameNoCase;
using ascii::Trim;

int NormalBase(int base) { return (base == 2 || base == 8 || base == 16) ? base : 10; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// The C library's 32-bit unsigned conversion: optional sign (a minus negates modulo
// 2^32), "0x" allowed in base 16, overflow saturates; no digits give 0.
std::uint32_t ToUnsigned(const std::string& text, int base) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
      DigitValue(text[i + 2]) < 16)
    i += 2;
  std::uint64_t value = 0;
  bool overflow = false;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(text[i]));
    if (value > 0xFFFFFFFFu) {
      overflow = true;
      value = 0xFFFFFFFFu;
    }
  }
  if (overflow) return 0xFFFFFFFFu;
  const auto v = static_cast<std::uint32_t>(value);
  return negative ? 0u - v : v;
}

std::string FormatUnsigned(std::uint32_t value, int base) {
  char buf[40];
  switch (NormalBase(base)) {
    case 16: std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(value)); return buf;
    case 8: std::snprintf(buf, sizeof buf, "%o", static_cast<unsigned>(value)); return buf;
    case 2: {
      std::string digits;
      do {
        digits.insert(digits.begin(), (value & 1u) ? '1' : '0');
        value >>= 1;
      } while (value != 0);
      return digits;
    }
    default: return std::to_string(value);
  }
}

std::string FormatDouble(double value, int precision) {
  if (precision <= 0) precision = 6;
  if (precision > kMaxPrecision) precision = kMaxPrecision;
  char buf[512];  // the widest double in fixed form with 100 decimals fits
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
  if (res.ec != std::errc()) return "0";
  return std::string(buf, res.ptr);
}

double ParseDouble(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  double value = 0.0;
  const auto res = std::from_chars(text.data() + i, text.data() + text.size(), value);
  // Out of range keeps the sign of the overflow, as the C conversion does.
  if (res.ec == std::errc::result_out_of_range) return value;
  return res.ec == std::errc() ? value : 0.0;
}

std::string ToHex(const void* data, int size) {
  static const char kDigits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string out;
  out.reserve(static_cast<std::size_t>(size) * 2);
  for (int i = 0; i < size; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

void PutLE(unsigned char* out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(u >> (8 * i));
}

std::int32_t GetLE(const unsigned char* in) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

}  // namespace

int CIni::GetPathName(char* buffer, int size) const {
  if (buffer != nullptr && size > 0) {
    const std::size_t n = std::min(m_strPathName.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, m_strPathName.data(), n);
    if (n < static_cast<std::size_t>(size)) buffer[n] = '\0';
  }
  return static_cast<int>(m_strPathName.size());
}

std::string CIni::GetString(const char* section, const char* key, const char* def) const {
  const std::string fallback = def ? def : "";
  if (section == nullptr || key == nullptr) return fallback;
  return CProfileFile::ReadString(m_strPathName, section, key, fallback);
}

int CIni::GetString(const char* section, const char* key, char* buffer, int size, const char* def) const {
  if (buffer == nullptr || size <= 0) return 0;
  const std::string value = GetString(section, key, def);
  const std::size_t n = std::min(value.size(), static_cast<std::size_t>(size));
  std::memcpy(buffer, value.data(), n);
  if (n < static_cast<std::size_t>(size)) buffer[n] = '\0';
  return static_cast<int>(n);
}

bool CIni::WriteString(const char* section, const char* key, const char* value) {
  if (section == nullptr || key == nullptr) return false;
  return CProfileFile::WriteString(m_strPathName, section, key, value ? value : "");
}

bool CIni::AppendString(const char* section, const char* key, const char* text) {
  if (text == nullptr || section == nullptr || key == nullptr) return false;
  return WriteString(section, key, (GetString(section, key, "") + text).c_str());
}

void CIni::GetArray(const char* section, const char* key, meStringArray* list, const char* delimiter,
                    bool trim) const {
  if (list == nullptr) return;
  list->RemoveAll();
  const std::string value = GetString(section, key, "");
  const std::string delim = delimiter ? delimiter : ",";
  auto take = [&](const std::string& piece) {
    const std::string item = trim ? Trim(piece) : piece;
    if (!item.empty()) list->Add(item);
  };
  if (delim.empty()) {
    take(value);
    return;
  }
  std::size_t pos = 0;
  for (std::size_t at = value.find(delim); at != std::string::npos; at = value.find(delim, pos)) {
    take(value.substr(pos, at - pos));
    pos = at + delim.size();
  }
  take(value.substr(pos));
}

bool CIni::WriteArray(const char* section, const char* key, const meStringArray* list, int count,
                      const char* delimiter) {
  if (list == nullptr) return false;
  const std::string delim = (delimiter && *delimiter) ? delimiter : ",";
  if (count < 0 || count > list->GetSize()) count = list->GetSize();
  std::string joined;
  for (int i = 0; i < count; ++i) {
    if (i > 0) joined += delim;
    joined += list->GetAt(i);
  }
  return WriteString(section, key, joined.c_str());
}

std::string CIni::ReadNumberText(const char* section, const char* key) const {
  std::string text = GetString(section, key, "");
  if (text.size() > kNumberChars) text.resize(kNumberChars);
  return text;
}

int CIni::GetInt(const char* section, const char* key, int def, int base) const {
  const std::string text = ReadNumberText(section, key);
  if (text.empty()) return def;
  return static_cast<int>(ToUnsigned(text, NormalBase(base)));
}

bool CIni::WriteInt(const char* section, const char* key, int value, int base) {
  if (NormalBase(base) == 10) return WriteString(section, key, std::to_string(value).c_str());
  return WriteString(section, key, FormatUnsigned(static_cast<std::uint32_t>(value), base).c_str());
}

bool CIni::IncreaseInt(const char* section, const char* key, int increment, int base) {
  // Unsigned arithmetic wraps where signed overflow would be undefined.
  const auto sum = static_cast<std::uint32_t>(GetInt(section, key, 0, base)) + static_cast<std::uint32_t>(increment);
  return WriteInt(section, key, static_cast<int>(sum), base);
}

unsigned CIni::GetUInt(const char* section, const char* key, unsigned def, int base) const {
  const std::string text = ReadNumberText(section, key);
  if (text.empty()) return def;
  return ToUnsigned(text, NormalBase(base));
}

bool CIni::WriteUInt(const char* section, const char* key, unsigned value, int base) {
  return WriteString(section, key, FormatUnsigned(value, base).c_str());
}

bool CIni::IncreaseUInt(const char* section, const char* key, unsigned increment, int base) {
  return WriteUInt(section, key, GetUInt(section, key, 0, base) + increment, base);
}

bool CIni::GetBool(const char* section, const char* key, bool def) const {
  const std::string text = ReadNumberText(section, key);
  if (text.empty()) return def;
  if (SameNoCase(text, "true") || SameNoCase(text, "yes")) return true;
  return ToUnsigned(text, 10) != 0;
}

bool CIni::WriteBool(const char* section, const char* key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool CIni::InvertBool(const char* section, const char* key) {
  return WriteBool(section, key, !GetBool(section, key, false));
}

double CIni::GetDouble(const char* section, const char* key, double def) const {
  const std::string text = ReadNumberText(section, key);
  if (text.empty()) return def;
  return ParseDouble(text);
}

bool CIni::WriteDouble(const char* section, const char* key, double value, int precision) {
  return WriteString(section, key, FormatDouble(value, precision).c_str());
}

bool CIni::IncreaseDouble(const char* section, const char* key, double increment, int precision) {
  return WriteDouble(section, key, GetDouble(section, key, 0.0) + increment, precision);
}

char CIni::GetChar(const char* section, const char* key, char def) const {
  const std::string text = GetString(section, key, "");
  return text.empty() ? def : text[0];
}

bool CIni::WriteChar(const char* section, const char* key, char value) {
  const char text[2] = {value, '\0'};
  return WriteString(section, key, text);
}

int CIni::GetDataBlock(const char* section, const char* key, void* buffer, int size, int offset) const {
  if (offset < 0) return 0;
  const std::string text = GetString(section, key, "");
  const std::size_t n = text.size() / 2;
  if (n <= static_cast<std::size_t>(offset)) return 0;
  for (char c : text)
    if (DigitValue(c) >= 16) return 0;
  const std::size_t available = n - static_cast<std::size_t>(offset);
  if (buffer == nullptr) return static_cast<int>(available);
  const std::size_t count = std::min(available, static_cast<std::size_t>(size < 0 ? 0 : size));
  auto* out = static_cast<unsigned char*>(buffer);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = (static_cast<std::size_t>(offset) + i) * 2;
    out[i] = static_cast<unsigned char>(DigitValue(text[at]) * 16 + DigitValue(text[at + 1]));
  }
  return static_cast<int>(count);
}

bool CIni::WriteDataBlock(const char* section, const char* key, const void* data, int size) {
  if (data == nullptr || size < 0) return false;
  return WriteString(section, key, ToHex(data, size).c_str());
}

bool CIni::AppendDataBlock(const char* section, const char* key, const void* data, int size) {
  if (data == nullptr || size < 0) return false;
  return AppendString(section, key, ToHex(data, size).c_str());
}

IniPoint CIni::GetPoint(const char* section, const char* key, IniPoint def) const {
  unsigned char raw[8];
  if (GetDataBlock(section, key, raw, sizeof raw, 0) != static_cast<int>(sizeof raw)) return def;
  return {GetLE(raw), GetLE(raw + 4)};
}

bool CIni::WritePoint(const char* section, const char* key, IniPoint value) {
  unsigned char raw[8];
  PutLE(raw, value.x);
  PutLE(raw + 4, value.y);
  return WriteDataBlock(section, key, raw, sizeof raw);
}

IniRect CIni::GetRect(const char* section, const char* key, IniRect def) const {
  unsigned char raw[16];
  if (GetDataBlock(section, key, raw, sizeof raw, 0) != static_cast<int>(sizeof raw)) return def;
  return {GetLE(raw), GetLE(raw + 4), GetLE(raw + 8), GetLE(raw + 12)};
}

bool CIni::WriteRect(const char* section, const char* key, IniRect value) {
  unsigned char raw[16];
  PutLE(raw, value.left);
  PutLE(raw + 4, value.top);
  PutLE(raw + 8, value.right);
  PutLE(raw + 12, value.bottom);
  return WriteDataBlock(section, key, raw, sizeof raw);
}

void CIni::GetSectionNames(meStringArray* list) const {
  if (list == nullptr) return;
  list->RemoveAll();
  for (const std::string& name : CProfileFile::ReadSectionNames(m_strPathName)) list->Add(name);
}

void CIni::GetKeyNames(const char* section, meStringArray* list) const {
  if (list == nullptr) return;
  list->RemoveAll();
  if (section == nullptr) return;
  for (const std::string& line : CProfileFile::ReadSection(m_strPathName, section)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    const std::string name = Trim(line.substr(0, eq));
    if (!name.empty()) list->Add(name);
  }
}

bool CIni::IsSectionExist(const char* section) const {
  if (section == nullptr) return false;
  for (const std::string& name : CProfileFile::ReadSectionNames(m_strPathName))
    if (SameNoCase(name, section)) return true;
  return false;
}

bool CIni::IsKeyExist(const char* section, const char* key) const {
  if (section == nullptr || key == nullptr) return false;
  return GetString(section, key, kKeySentinel) != kKeySentinel;
}

bool CIni::CopySection(const char* source, const char* target, bool failIfExist) {
  if (source == nullptr || target == nullptr || SameNoCase(source, target)) return false;
  if (!IsSectionExist(source)) return false;
  if (failIfExist && IsSectionExist(target)) return false;
  // Replacing the target's lines in one write leaves no state where it is gone.
  return CProfileFile::WriteSection(m_strPathName, target, CProfileFile::ReadSection(m_strPathName, source));
}

bool CIni::MoveSection(const char* source, const char* target, bool failIfExist) {
  return CopySection(source, target, failIfExist) && DeleteSection(source);
}

bool CIni::CopyKey(const char* sourceSection, const char* sourceKey, const char* targetSection,
                   const char* targetKey, bool failIfExist) {
  if (!sourceSection || !sourceKey || !targetSection || !targetKey) return false;
  if (SameNoCase(sourceSection, targetSection) && SameNoCase(sourceKey, targetKey)) return false;
  if (!IsKeyExist(sourceSection, sourceKey)) return false;
  if (failIfExist && IsKeyExist(targetSection, targetKey)) return false;
  return WriteString(targetSection, targetKey, GetString(sourceSection, sourceKey, "").c_str());
}

bool CIni::MoveKey(const char* sourceSection, const char* sourceKey, const char* targetSection,
                   const char* targetKey, bool failIfExist) {
  return CopyKey(sourceSection, sourceKey, targetSection, targetKey, failIfExist) &&
         DeleteKey(sourceSection, sourceKey);
}

bool CIni::DeleteSection(const char* section) {
  if (section == nullptr) return false;
  return CProfileFile::DeleteSection(m_strPathName, section);
}

bool CIni::DeleteKey(const char* section, const char* key) {
  if (section == nullptr || key == nullptr) return false;
  return CProfileFile::DeleteKey(m_strPathName, section, key);
}

}  // namespace corvane
