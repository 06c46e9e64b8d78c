#pragma once
// A fresh temporary folder per test, with the settings locations pointed into it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/CAtomicFile.h"

namespace corvane::test {

class SettingsDir : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "cvn-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    m_dir = tmpl;
    ::setenv("PROGRAMDATA", m_dir.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
    CAtomicFile::InjectFailureAfter(-1);
  }
  void TearDown() override {
    CAtomicFile::InjectFailureAfter(-1);
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }

  std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

  static void Put(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::size_t EntriesInDir() const {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(m_dir)) ++n;
    return n;
  }

  std::filesystem::path m_dir;
};

}  // namespace corvane::test
