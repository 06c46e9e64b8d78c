#include "app/CModuleCatalogue.h"

#include "comm/LinkType.h"
#include "settings/CFieldSplitter.h"
#include "settings/CIni.h"
#include "settings/meStringArray.h"

namespace corvane {
namespace {
constexpr const char* kSection = "ModuleCode";
}

bool CatalogueEntry::AllowedOn(int commType) const {
  if (IsLinkType(commType, LinkType::Serial)) return serialUse != "No";
  if (IsLinkType(commType, LinkType::Ethernet)) return ethernetUse != "No";
  return false;  // no module opens over the manager's link
}

CatalogueEntry CModuleCatalogue::ParseEntry(const std::string& code, const std::string& value) {
  CFieldSplitter fields(",");
  fields.SetString(value);
  return {code, fields.GetField(0), fields.GetField(1), fields.GetField(2), fields.GetField(3),
          fields.GetField(4)};
}

std::optional<CatalogueEntry> CModuleCatalogue::Find(const std::string& code) const {
  const std::string value = m_ini.GetString(kSection, code.c_str(), "");
  if (value.empty()) return std::nullopt;
  return ParseEntry(code, value);
}

std::vector<CatalogueEntry> CModuleCatalogue::Entries() const {
  meStringArray keys;
  m_ini.GetKeyNames(kSection, &keys);
  std::vector<CatalogueEntry> entries;
  for (int i = 0; i < keys.GetSize(); ++i) {
    const std::string key = keys.GetAt(i);
    entries.push_back(ParseEntry(key, m_ini.GetString(kSection, key.c_str(), "")));
  }
  return entries;
}

std::string CModuleCatalogue::FindModuleCode(const std::string& name) const {
  for (const CatalogueEntry& entry : Entries())
    if (entry.name == name) return entry.code;
  return "None";
}

std::string CModuleCatalogue::GetModuleName(const std::string& code) const {
  const auto entry = Find(code);
  return entry ? entry->name : std::string();
}

}  // namespace corvane
