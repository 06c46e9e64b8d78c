#include "project/CProjectReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "project/CProjectCheck.h"
#include "project/CByteReader.h"
#include "project/CCountedString.h"
#include "project/ProjectFormat.h"

namespace corvane {
namespace {

std::string ErrnoText(int err) { return std::error_code(err, std::generic_category()).message(); }

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

class CFd {
public:
  explicit CFd(int fd) noexcept : m_fd(fd) {}
  CFd(const CFd&) = delete;
  CFd& operator=(const CFd&) = delete;
  ~CFd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int Get() const noexcept { return m_fd; }

private:
  int m_fd;
};

CProjectResult ReadFail(std::size_t offset, int record, const std::string& what) {
  std::string text = "Unexpected end of file at byte " + std::to_string(offset) + " while reading " + what;
  if (record >= 0) text += " of record " + std::to_string(record + 1);
  return CProjectResult::Fail(ProjectStatus::ReadError, offset, text, record < 0 ? 0 : record);
}

}  // namespace

CProjectResult CProjectReader::Parse(std::span<const std::uint8_t> content, IProjectVisitor& visitor) {
  if (content.size() < 2)
    return CProjectResult::Fail(ProjectStatus::InvalidCheck, 0, "The file is too short to carry a check value");
  const std::size_t body = content.size() - 2;
  const std::uint16_t crc = CProjectCheck::Compute(content.first(body));
  if (content[body] != static_cast<std::uint8_t>(crc) || content[body + 1] != static_cast<std::uint8_t>(crc >> 8))
    return CProjectResult::Fail(ProjectStatus::InvalidCheck, body, "The check value does not match the content");

  // The check bytes are not content: nothing may be parsed out of them.
  CByteReader in(content.first(body));
  std::string programName, version;
  if (!CCountedString::Read(in, programName)) return ReadFail(in.Offset(), -1, "the program name");
  if (!CCountedString::Read(in, version)) return ReadFail(in.Offset(), -1, "the version");
  std::int32_t count = 0;
  if (!in.ReadI32(count)) return ReadFail(in.Offset(), -1, "the record count");

  for (std::int32_t i = 0; i < count; ++i) {
    const std::size_t start = in.Offset();
    std::string code, name;
    if (!CCountedString::Read(in, code)) return ReadFail(in.Offset(), i, "the module code");
    const std::string expected = visitor.ModuleNameFor(code);
    if (!CCountedString::Read(in, name)) return ReadFail(in.Offset(), i, "the module name");
    const std::size_t lengthAt = in.Offset();
    std::int32_t length = 0;
    if (!in.ReadI32(length)) return ReadFail(lengthAt, i, "the data length");

    std::string invalid;
    std::size_t invalidAt = start;
    if (expected.empty()) {
      invalid = "module code " + Quoted(code) + " is not in the module catalogue";
    } else if (name != expected) {
      invalid = "module name " + Quoted(name) + " does not match " + Quoted(expected);
    } else if (length < 0 || length > project::kMaxModuleData) {
      invalid = "data length " + std::to_string(length) + " is outside 0 to " +
                std::to_string(project::kMaxModuleData);
      invalidAt = lengthAt;
    }
    if (!invalid.empty())
      return CProjectResult::Fail(ProjectStatus::InvalidRecord, invalidAt,
                                  "Record " + std::to_string(i + 1) + ": " + invalid, i);

    std::span<const std::uint8_t> data;
    if (!in.ReadBytes(static_cast<std::uint64_t>(length), data))
      return ReadFail(in.Offset(), i, "the module data");
    visitor.OnRecord(code, name, data);
  }
  CProjectResult ok;
  ok.offset = in.Offset();
  ok.records = count > 0 ? count : 0;
  return ok;
}

CProjectResult CProjectReader::ReadFile(const std::string& path, std::vector<std::uint8_t>& out) {
  out.clear();
  // Non-blocking so that a FIFO or device named as a project cannot hang the open.
  CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    const int err = errno;
    return CProjectResult::Fail(ProjectStatus::FileError, 0, "Cannot open " + Quoted(path) + ": " + ErrnoText(err));
  }
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) {
    const int err = errno;
    return CProjectResult::Fail(ProjectStatus::FileError, 0, "Cannot read " + Quoted(path) + ": " + ErrnoText(err));
  }
  if (!S_ISREG(st.st_mode))
    return CProjectResult::Fail(ProjectStatus::FileError, 0, "Cannot read " + Quoted(path) + ": not a regular file");
  if (static_cast<std::uint64_t>(st.st_size) > project::kMaxFileBytes)
    return CProjectResult::Fail(ProjectStatus::FileError, 0,
                                "Cannot read " + Quoted(path) + ": the file is too large for a project");
  // The size from fstat is only a hint; the file may change under us, so the cap is enforced while reading.
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), chunk, sizeof chunk);
    if (got < 0) {
      const int err = errno;
      if (err == EINTR) continue;
      const std::size_t at = out.size();
      out.clear();
      return CProjectResult::Fail(ProjectStatus::FileError, at,
                                  "Cannot read " + Quoted(path) + ": " + ErrnoText(err));
    }
    if (got == 0) break;
    if (out.size() + static_cast<std::size_t>(got) > project::kMaxFileBytes) {
      out.clear();
      return CProjectResult::Fail(ProjectStatus::FileError, 0,
                                  "Cannot read " + Quoted(path) + ": the file is too large for a project");
    }
    out.insert(out.end(), chunk, chunk + got);
  }
  return {};
}

CProjectResult CProjectReader::Load(const std::string& path, IProjectVisitor& visitor) {
  std::vector<std::uint8_t> content;
  CProjectResult r = ReadFile(path, content);
  if (!r.Ok()) return r;
  r = Parse(content, visitor);
  if (!r.Ok() && r.status != ProjectStatus::FileError) r.description = Quoted(path) + ": " + r.description;
  return r;
}

}  // namespace corvane
