#include "widgets/CUrlOpener.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/CRegStore.h"
#include "platform/CShell.h"
#include "tests/registry/RegTestEnv.h"

namespace corvane {
namespace {

constexpr const char* kTarget = "https://www.zelmar-automation.example/";

// xdg-open is missing; every other program starts.
class NoXdgOpenStarter : public platform::IProcessStarter {
public:
  NoXdgOpenStarter() { m_previous = platform::SetProcessStarter(this); }
  ~NoXdgOpenStarter() override { platform::SetProcessStarter(m_previous); }
  int Start(const std::string& program, const std::vector<std::string>& args, const std::string&) override {
    starts.push_back(args);
    return program == "xdg-open" ? ENOENT : 0;
  }
  std::vector<std::vector<std::string>> starts;

private:
  platform::IProcessStarter* m_previous = nullptr;
};

// The desktop's folders point into the test's own, so the machine's browser never counts.
class UrlOpenerTest : public test::RegTestEnv {
protected:
  void SetUp() override {
    RegTestEnv::SetUp();
    for (const char* name : {"BROWSER", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
      const char* v = std::getenv(name);
      m_saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    ::unsetenv("BROWSER");
    ::setenv("XDG_CONFIG_DIRS", (Root() + "/xdg").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (Root() + "/data").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (Root() + "/data2").c_str(), 1);
  }
  void TearDown() override {
    for (const auto& [name, value] : m_saved) value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    RegTestEnv::TearDown();
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

TEST_F(UrlOpenerTest, WithoutABrowserCommandTheShellsCodeStands) {
  NoXdgOpenStarter starter;
  EXPECT_EQ(CUrlOpener::BrowserCommand(), "");
  EXPECT_EQ(CUrlOpener::OpenUrl(kTarget), 31);
  ASSERT_EQ(starter.starts.size(), 1u);
  EXPECT_EQ(starter.starts[0], (std::vector<std::string>{"xdg-open", kTarget}));
}

TEST_F(UrlOpenerTest, TheHtmAssociationsCommandIsCutAtTheQuotedInsert) {
  platform::CRegStore store;
  ASSERT_EQ(store.SetString(platform::RegRoot::ClassesRoot, ".htm", "", "htmlfile"), platform::kRegOk);
  ASSERT_EQ(store.SetString(platform::RegRoot::ClassesRoot, "htmlfile\\shell\\open\\command", "",
                            "\"/opt/web browser/run\" -osint -url \"%1\" --tail"),
            platform::kRegOk);
  NoXdgOpenStarter starter;
  EXPECT_EQ(CUrlOpener::OpenUrl(kTarget), 33);
  ASSERT_EQ(starter.starts.size(), 2u);
  EXPECT_EQ(starter.starts[1], (std::vector<std::string>{"/opt/web browser/run", "-osint", "-url", kTarget}));
}

TEST_F(UrlOpenerTest, BrowserVariableThenTheDesktopsDefaultBrowser) {
  std::filesystem::create_directories(Root() + "/config");
  std::ofstream(Root() + "/config/mimeapps.list") << "[Default Applications]\nx-scheme-handler/http=web.desktop\n";
  std::filesystem::create_directories(Root() + "/data2/applications");
  std::ofstream(Root() + "/data2/applications/web.desktop")
      << "[Desktop Entry]\nName=Web\nExec=webview --new-window %u --class=%c\n";
  NoXdgOpenStarter starter;
  EXPECT_EQ(CUrlOpener::OpenUrl(kTarget), 33);
  ASSERT_EQ(starter.starts.size(), 2u);
  EXPECT_EQ(starter.starts[1], (std::vector<std::string>{"webview", "--new-window", kTarget}));

  ::setenv("BROWSER", "lynx -accept_all_cookies %s:w3m", 1);
  EXPECT_EQ(CUrlOpener::OpenUrl(kTarget), 33);
  EXPECT_EQ(starter.starts.back(), (std::vector<std::string>{"lynx", "-accept_all_cookies", kTarget}));
}

TEST(UrlOpenerTextTest, ErrorTextsByCode) {
  const struct {
    int code;
    const char* text;
  } rows[] = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {26, "A sharing violation occurred. "},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
      {1, "Unknown Error (1) occurred."},
      {33, "Unknown Error (33) occurred."},
      {-7, "Unknown Error (-7) occurred."},
  };
  for (const auto& row : rows) EXPECT_EQ(CUrlOpener::ErrorText(row.code), row.text) << row.code;
  EXPECT_EQ(CUrlOpener::ErrorMessage(3), "Unable to open hyperlink:\n\nThe specified path was not found.");
}

}  // namespace
}  // namespace corvane
