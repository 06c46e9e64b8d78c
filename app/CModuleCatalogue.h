#pragma once
// The module catalogue: section [ModuleCode] of Config/Modules.ini, one key per module
// code, the value "serial use,Ethernet use,name,network type,library file".
#include <optional>
#include <string>
#include <vector>

namespace corvane {

class CIni;

struct CatalogueEntry {
  std::string code;
  std::string serialUse;
  std::string ethernetUse;
  std::string name;
  std::string networkType;
  std::string libraryFile;

  // Serial (0) and Ethernet (1) are gated by their fields; every other type opens nothing.
  bool AllowedOn(int commType) const;
};

class CModuleCatalogue {
public:
  explicit CModuleCatalogue(const CIni& ini) : m_ini(ini) {}

  static CatalogueEntry ParseEntry(const std::string& code, const std::string& value);

  // Empty when the code has no entry (or an empty value).
  std::optional<CatalogueEntry> Find(const std::string& code) const;
  // Every entry in file order.
  std::vector<CatalogueEntry> Entries() const;
  // The first code whose name matches exactly; "None" when there is none.
  std::string FindModuleCode(const std::string& name) const;
  // Empty when the code is not in the catalogue.
  std::string GetModuleName(const std::string& code) const;

private:
  const CIni& m_ini;
};

}  // namespace corvane
