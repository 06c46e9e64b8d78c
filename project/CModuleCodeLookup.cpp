#include "project/CModuleCodeLookup.h"

namespace corvane {

std::string CModuleCodeLookup::LibraryTitle(std::string_view title) {
  return title == "QCX-ENT01/02" ? std::string("QCX-ENT02") : std::string(title);
}

std::optional<std::string> CModuleCodeLookup::Find(const std::vector<std::string>& openModuleFiles,
                                                   const std::vector<std::string>& openModuleCodes,
                                                   std::string_view title, std::string_view suffix) {
  std::string wanted(title);
  wanted += suffix;
  for (std::size_t i = 0; i < openModuleFiles.size(); ++i) {
    if (openModuleFiles[i] != wanted) continue;
    if (i >= openModuleCodes.size()) return std::nullopt;
    return openModuleCodes[i];
  }
  return std::nullopt;
}

}  // namespace corvane
