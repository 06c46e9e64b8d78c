#pragma once
// Validates and walks a project file: check value first, then the records one by one.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "project/CProjectResult.h"
#include "project/IProjectVisitor.h"

namespace corvane {

class CProjectReader {
public:
  // Parses the whole file content (check bytes included). Records before a failing one
  // have already reached the visitor; result.records counts them.
  static CProjectResult Parse(std::span<const std::uint8_t> content, IProjectVisitor& visitor);
  // Reads the file at path into memory and parses it.
  static CProjectResult Load(const std::string& path, IProjectVisitor& visitor);
  // Reads a whole file, refusing one larger than the format allows.
  static CProjectResult ReadFile(const std::string& path, std::vector<std::uint8_t>& out);
};

}  // namespace corvane
