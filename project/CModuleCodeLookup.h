#pragma once
// Finds the module code of an open document when saving: the first library file name equal
// to the document's title plus the module suffix gives the index into the parallel code list.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CModuleCodeLookup {
public:
  static constexpr std::string_view kModuleSuffix = ".so";

  // Exact, case-sensitive match. Empty when the title is not listed or the lists disagree in length;
  // such a document is skipped when saving.
  static std::optional<std::string> Find(const std::vector<std::string>& openModuleFiles,
                                         const std::vector<std::string>& openModuleCodes, std::string_view title,
                                         std::string_view suffix = kModuleSuffix);
};

}  // namespace corvane
