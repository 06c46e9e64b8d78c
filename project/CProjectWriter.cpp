#include "project/CProjectWriter.h"

#include "project/CProjectCheck.h"
#include "project/CAtomicFile.h"
#include "project/CCountedString.h"
#include "project/ProjectFormat.h"

namespace corvane {
namespace {

void PutI32(std::vector<std::uint8_t>& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

}  // namespace

CProjectWriter::CProjectWriter() {
  m_buffer.reserve(1024);
  CCountedString::Append(m_buffer, project::kProgramName);
  CCountedString::Append(m_buffer, project::kVersion);
  m_nCountAt = m_buffer.size();
  PutI32(m_buffer, 0);
}

CProjectResult CProjectWriter::AddRecord(std::string_view code, std::string_view name,
                                         std::span<const std::uint8_t> data) {
  if (data.size() > static_cast<std::size_t>(project::kMaxModuleData))
    return CProjectResult::Fail(ProjectStatus::RecordTooLarge, m_buffer.size(),
                                "Module " + std::string(name) + " has " + std::to_string(data.size()) +
                                    " bytes of data; at most " + std::to_string(project::kMaxModuleData) +
                                    " fit in a project",
                                m_nRecords);
  if (code.size() > CCountedString::kMaxLength || name.size() > CCountedString::kMaxLength ||
      m_nRecords == INT32_MAX)
    return CProjectResult::Fail(ProjectStatus::RecordTooLarge, m_buffer.size(),
                                "The module record does not fit in a project", m_nRecords);
  CCountedString::Append(m_buffer, code);
  CCountedString::Append(m_buffer, name);
  PutI32(m_buffer, static_cast<std::int32_t>(data.size()));
  m_buffer.insert(m_buffer.end(), data.begin(), data.end());
  ++m_nRecords;
  // The count always matches the records written, whatever the caller counted beforehand.
  const auto n = static_cast<std::uint32_t>(m_nRecords);
  for (int i = 0; i < 4; ++i)
    m_buffer[m_nCountAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(n >> (8 * i));
  CProjectResult ok;
  ok.records = m_nRecords;
  return ok;
}

std::vector<std::uint8_t> CProjectWriter::Content() const {
  std::vector<std::uint8_t> out;
  out.reserve(m_buffer.size() + 2);
  out.assign(m_buffer.begin(), m_buffer.end());
  const std::uint16_t crc = CProjectCheck::Compute(out);
  out.push_back(static_cast<std::uint8_t>(crc));
  out.push_back(static_cast<std::uint8_t>(crc >> 8));
  return out;
}

CProjectResult CProjectWriter::Save(const std::string& path, const CFileOps& ops) const {
  CProjectResult r = CAtomicFile::Write(path, Content(), ops);
  if (r.Ok()) r.records = m_nRecords;
  return r;
}

}  // namespace corvane
