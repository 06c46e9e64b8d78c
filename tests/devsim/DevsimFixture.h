#pragma once
// A test with one corvane-devsim: its own folder (PROGRAMDATA and the rest), the simulator and
// one descriptor to it (a pty or a socket), all gone after the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "DevsimProcess.h"

class DevsimFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "devsim-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    m_home = tmpl;
  }
  void TearDown() override {
    if (m_fd >= 0) close(m_fd);
    std::error_code ec;
    std::filesystem::remove_all(m_home, ec);
  }

  std::string m_home;
  DevsimProcess m_sim;
  int m_fd = -1;
};
