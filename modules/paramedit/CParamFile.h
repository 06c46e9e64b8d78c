#pragma once
// The parameter description file of a device type: one parameter a line,
//   address, name, unit, minimum, maximum, access
// Lines starting with '#' or ';' and empty lines are skipped. modules/README.md has the rules.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "modules/paramedit/ParamSpec.h"

namespace corvane::paramedit {

struct ParamFileResult {
  std::vector<ParamSpec> params;  // empty when the file was refused
  std::string error;              // "line 3: ..." or a file error; empty when Ok
  bool Ok() const { return error.empty(); }
};

class CParamFile {
public:
  static constexpr std::size_t kMaxFileSize = 64 * 1024;
  static constexpr std::size_t kMaxLineLength = 256;
  static constexpr std::size_t kMaxParams = 200;
  static constexpr std::size_t kMaxNameLength = 40;
  static constexpr std::size_t kMaxUnitLength = 16;

  // The whole text is refused at its first bad line: a half-read table could write the
  // wrong registers.
  static ParamFileResult Parse(std::string_view text);
  static ParamFileResult Load(const std::string& path);
};

}  // namespace corvane::paramedit
