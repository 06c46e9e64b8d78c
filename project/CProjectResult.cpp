#include "project/CProjectResult.h"

#include <utility>

#include "project/ProjectFormat.h"

namespace corvane {

int CProjectResult::MessageId() const noexcept {
  return (status == ProjectStatus::InvalidCheck || status == ProjectStatus::InvalidRecord)
             ? project::kInvalidFileMessage
             : 0;
}

CProjectResult CProjectResult::Fail(ProjectStatus status, std::size_t offset, std::string description,
                                    int records) {
  CProjectResult r;
  r.status = status;
  r.offset = offset;
  r.description = std::move(description);
  r.records = records;
  return r;
}

const char* ToString(ProjectStatus status) noexcept {
  switch (status) {
    case ProjectStatus::Ok: return "Ok";
    case ProjectStatus::InvalidCheck: return "InvalidCheck";
    case ProjectStatus::InvalidRecord: return "InvalidRecord";
    case ProjectStatus::ReadError: return "ReadError";
    case ProjectStatus::FileError: return "FileError";
    case ProjectStatus::RecordTooLarge: return "RecordTooLarge";
  }
  return "?";
}

}  // namespace corvane
