#pragma once
// A fresh temporary PROGRAMDATA and XDG_CONFIG_HOME for each test; restored afterwards.
#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace corvane::test {

class RegTestEnv : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  std::string Root() const { return m_root; }
  static std::string ReadFile(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& text);
  static bool Exists(const std::string& path);

private:
  std::string m_root;
  std::optional<std::string> m_oldProgramData;
  std::optional<std::string> m_oldXdg;
};

}  // namespace corvane::test
