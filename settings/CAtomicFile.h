#pragma once
// Replaces a file as a whole: a temp file in the same folder, fsync, rename over.
// A failed write leaves the old file untouched and no temp file behind.
#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

class CAtomicFile {
public:
  // False when the folder is missing or any step fails; no folder is created.
  static bool Write(const std::string& path, std::string_view content);

  // Test seam: with n >= 0, every later write stops after n bytes and fails as if the
  // disk were full. A negative n switches the fault off.
  static void InjectFailureAfter(std::ptrdiff_t n);
};

}  // namespace corvane
