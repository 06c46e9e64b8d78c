#pragma once
// Fixed values of the project file.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvane::project {

inline constexpr std::string_view kProgramName = "Corvane.exe";
inline constexpr std::string_view kVersion = "1.23";
// Module data passes through a buffer of this size; longer records are refused both ways.
inline constexpr std::int32_t kMaxModuleData = 10240;
// A file larger than this is not a project file; refused before it is read into memory.
inline constexpr std::size_t kMaxFileBytes = 64u * 1024u * 1024u;
// String-table entry the user sees for a modified or invalid project file.
inline constexpr int kInvalidFileMessage = 516;
inline constexpr std::string_view kFileFilter = "Corvane Project File (*.cvn)|*.cvn||";
inline constexpr std::string_view kDefaultExtension = ".cvn";

}  // namespace corvane::project
