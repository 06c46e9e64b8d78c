#pragma once
// Replaces a file as a whole: a temporary file beside it, written and synced, then renamed
// over it. A failure at any step leaves the old file untouched and removes the temporary.
#include <cstdint>
#include <span>
#include <string>

#include "project/CFileOps.h"
#include "project/CProjectResult.h"

namespace corvane {

class CAtomicFile {
public:
  static CProjectResult Write(const std::string& path, std::span<const std::uint8_t> content,
                              const CFileOps& ops = CFileOps::System());
};

}  // namespace corvane
