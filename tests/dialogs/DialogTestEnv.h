#pragma once
// A fresh PROGRAMDATA and XDG_CONFIG_HOME per test, the serial-port map answered by the test,
// and helpers that act on the dialogs' widgets as a user would.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <QTemporaryDir>

class QComboBox;
class QWidget;

namespace corvane::comm {
class CIpAddressEdit;
}

namespace corvane::test {

class DialogTestEnv : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  std::string Root() const { return m_dir.path().toStdString(); }
  // Creates every level of the configuration folder.
  static std::string MakeConfigFolder();
  static void SetSerialPorts(std::vector<std::string> ports);
  // Registers the manager's folder and writes its catalogue there.
  void InstallCatalogue(const std::string& xml);

  static std::string ReadFile(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& text);

private:
  QTemporaryDir m_dir;
};

// Picks an entry from the drop-down with the mouse, so the combo reports a user's choice.
void UserPick(QComboBox* combo, int index);
void UserPick(QComboBox* combo, const char* text);
// Types one number into each box of the field.
void TypeAddress(comm::CIpAddressEdit* field, const std::string& dotted);
std::vector<std::string> Items(QComboBox* combo);

}  // namespace corvane::test
