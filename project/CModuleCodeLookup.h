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
  // The title a library file name is formed from: the device tree's rule, "QCX-ENT01/02" is the
  // library "QCX-ENT02", so that card is saved like every other module; other titles unchanged.
  static std::string LibraryTitle(std::string_view title);

  static std::optional<std::string> Find(const std::vector<std::string>& openModuleFiles,
                                         const std::vector<std::string>& openModuleCodes, std::string_view title,
                                         std::string_view suffix = kModuleSuffix);
};

}  // namespace corvane
