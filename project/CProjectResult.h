#pragma once
// Outcome of reading or writing a project: a status, where it was found and a text for the user.
#include <cstddef>
#include <string>

namespace corvane {

enum class ProjectStatus {
  Ok,
  InvalidCheck,    // check value does not match, or the file is too short to carry one
  InvalidRecord,   // a record failed validation; earlier records were already applied
  ReadError,       // content ends before a string, count or data block is complete
  FileError,       // the file cannot be opened, read or written
  RecordTooLarge,  // a record to be saved does not fit the format
};

struct CProjectResult {
  ProjectStatus status = ProjectStatus::Ok;
  std::size_t offset = 0;  // byte offset of the failing item
  std::string description;
  int records = 0;  // records handed to the visitor (reading) or written (writing)

  bool Ok() const noexcept { return status == ProjectStatus::Ok; }
  // The string-table message for the failure (516 for an invalid file), 0 when none applies.
  int MessageId() const noexcept;

  static CProjectResult Fail(ProjectStatus status, std::size_t offset, std::string description,
                             int records = 0);
};

const char* ToString(ProjectStatus status) noexcept;

}  // namespace corvane
