#pragma once
// Builds a project file in memory: header, records as the caller adds them, then the
// record count and check value when the content is taken.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "project/CFileOps.h"
#include "project/CProjectResult.h"

namespace corvane {

class CProjectWriter {
public:
  CProjectWriter();

  // Refuses (RecordTooLarge, nothing added) data longer than the module data buffer.
  CProjectResult AddRecord(std::string_view code, std::string_view name, std::span<const std::uint8_t> data);
  int RecordCount() const noexcept { return m_nRecords; }
  // Room for this many content bytes, to spare regrowth when the caller knows the size.
  void Reserve(std::size_t bytes) { m_buffer.reserve(bytes); }
  // The complete file: content with the count of added records, then the check value low byte first.
  std::vector<std::uint8_t> Content() const;
  // Writes Content() to path atomically; the old file stays whole on any failure.
  CProjectResult Save(const std::string& path, const CFileOps& ops = CFileOps::System()) const;

private:
  std::vector<std::uint8_t> m_buffer;  // header, record count, records
  std::size_t m_nCountAt = 0;
  int m_nRecords = 0;
};

}  // namespace corvane
