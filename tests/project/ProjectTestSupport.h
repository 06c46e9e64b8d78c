#pragma once
// Shared helpers of the project codec tests: a recording visitor, byte builders and an isolated folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "libs/portlink/Crc16.h"
#include "project/IProjectVisitor.h"

namespace corvane::test {

using Bytes = std::vector<std::uint8_t>;

struct SeenRecord {
  std::string code, name;
  Bytes data;
  bool operator==(const SeenRecord&) const = default;
};

class RecordingVisitor : public IProjectVisitor {
public:
  explicit RecordingVisitor(std::map<std::string, std::string> catalogue = {{"0203", "DriveA"}, {"0A10", "CardB"}})
      : m_catalogue(std::move(catalogue)) {}
  std::string ModuleNameFor(const std::string& code) override {
    auto it = m_catalogue.find(code);
    return it == m_catalogue.end() ? std::string() : it->second;
  }
  void OnRecord(const std::string& code, const std::string& name, std::span<const std::uint8_t> data) override {
    seen.push_back({code, name, Bytes(data.begin(), data.end())});
  }
  std::vector<SeenRecord> seen;

private:
  std::map<std::string, std::string> m_catalogue;
};

inline void PutU8(Bytes& b, std::uint8_t v) { b.push_back(v); }
inline void PutU16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutU32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void PutShort(Bytes& b, const std::string& s) {
  b.push_back(static_cast<std::uint8_t>(s.size()));
  b.insert(b.end(), s.begin(), s.end());
}
// Header with a record count, as the writer lays it out.
inline Bytes Header(std::int32_t count) {
  Bytes b;
  PutShort(b, "Corvane.exe");
  PutShort(b, "1.23");
  PutU32(b, static_cast<std::uint32_t>(count));
  return b;
}
inline void PutRecord(Bytes& b, const std::string& code, const std::string& name, std::int32_t length,
                      const Bytes& data) {
  PutShort(b, code);
  PutShort(b, name);
  PutU32(b, static_cast<std::uint32_t>(length));
  b.insert(b.end(), data.begin(), data.end());
}
// Appends a valid check value so that what fails is the content, not the check.
inline Bytes Sealed(Bytes b) {
  const std::uint16_t crc = Crc16Modbus(b.data(), b.size());
  PutU16(b, crc);
  return b;
}

class ProjectFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "cvn-project-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    m_dir = tmpl;
    ::setenv("PROGRAMDATA", m_dir.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }
  std::filesystem::path m_dir;
};

}  // namespace corvane::test
