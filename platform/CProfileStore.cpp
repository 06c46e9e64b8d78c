#include "platform/CProfileStore.h"

#include <limits>
#include <optional>
#include <utility>

#include "platform/CRegStore.h"

namespace corvane::platform {

namespace {

// Leading decimal digits with an optional sign, as settings files hold integers.
std::optional<int> ParseDecimal(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (digits == 0) return std::nullopt;
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

CProfileStore::CProfileStore(std::string company, std::string application)
    : m_company(std::move(company)), m_application(std::move(application)) {}

void CProfileStore::SetRegistryKey(const std::string& company) { m_company = company; }

std::string CProfileStore::KeyPath(const std::string& section) const {
  std::string path = "Software";
  for (const std::string* part : {&m_company, &m_application, &section}) {
    if (!part->empty()) path += "\\" + *part;
  }
  return path;
}

int CProfileStore::GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const {
  RegValueResult got = CRegStore().GetValue(RegRoot::CurrentUser, KeyPath(section), key);
  if (!got.ok()) return defaultValue;
  if (auto number = CRegStore::DwordOf(got.value)) return static_cast<int>(*number);
  if (got.value.type == REG_SZ || got.value.type == REG_EXPAND_SZ) {
    return ParseDecimal(CRegStore::TextOf(got.value)).value_or(defaultValue);
  }
  return defaultValue;
}

bool CProfileStore::WriteProfileInt(const std::string& section, const std::string& key, int value) {
  return CRegStore().SetDword(RegRoot::CurrentUser, KeyPath(section), key, static_cast<std::uint32_t>(value)) ==
         kRegOk;
}

std::string CProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
  RegValueResult got = CRegStore().GetValue(RegRoot::CurrentUser, KeyPath(section), key);
  if (!got.ok() || (got.value.type != REG_SZ && got.value.type != REG_EXPAND_SZ)) return defaultValue;
  return CRegStore::TextOf(got.value);
}

bool CProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                       const std::string& value) {
  return CRegStore().SetString(RegRoot::CurrentUser, KeyPath(section), key, value) == kRegOk;
}

bool CProfileStore::DeleteProfileValue(const std::string& section, const std::string& key) {
  return CRegStore().DeleteValue(RegRoot::CurrentUser, KeyPath(section), key) == kRegOk;
}

}  // namespace corvane::platform
