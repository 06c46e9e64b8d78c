#include "widgets/ui/CHyperLink.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cerrno>
#include <cstdlib>

#include "app/ui/CAboutDlg.h"
#include "platform/CShell.h"
#include "tests/frame/GuiTestSupport.h"

namespace corvane::test {
namespace {

constexpr const char* kSite = "https://www.zelmar-automation.example/";

// Every start fails with the given error; nothing is ever opened.
class FailingStarter : public platform::IProcessStarter {
public:
  FailingStarter() { m_previous = platform::SetProcessStarter(this); }
  ~FailingStarter() override { platform::SetProcessStarter(m_previous); }
  int Start(const std::string&, const std::vector<std::string>& args, const std::string&) override {
    starts.push_back(args);
    return error;
  }
  int error = ENOENT;
  std::vector<std::vector<std::string>> starts;

private:
  platform::IProcessStarter* m_previous = nullptr;
};

class HyperLinkTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    // No browser of the machine's may count.
    ::unsetenv("BROWSER");
    ::setenv("XDG_CONFIG_DIRS", m_dir.path().toUtf8().constData(), 1);
    ::setenv("XDG_DATA_HOME", m_dir.path().toUtf8().constData(), 1);
    ::setenv("XDG_DATA_DIRS", m_dir.path().toUtf8().constData(), 1);
  }
  QTemporaryDir m_dir;
  TempSettingsHome m_home;
};

TEST_F(HyperLinkTest, EmptyTextShowsTheTargetAndAnEmptyTargetComesFromTheText) {
  CHyperLink empty;
  empty.SetUrl(kSite);
  empty.Attach();
  EXPECT_EQ(empty.text().toStdString(), kSite);
  EXPECT_EQ(empty.toolTip().toStdString(), kSite);

  CHyperLink named("Zelmar on the web", nullptr);
  named.Attach();
  EXPECT_EQ(named.GetUrl(), "Zelmar on the web");
  named.SetUrl(kSite);  // attached: the tooltip follows, the text stays
  EXPECT_EQ(named.toolTip().toStdString(), kSite);
  EXPECT_EQ(named.text().toStdString(), "Zelmar on the web");
  EXPECT_EQ(named.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(named.font().underline());
  // Shrunk to its text.
  EXPECT_EQ(named.width(), named.fontMetrics().size(Qt::TextSingleLine, named.text()).width());
}

TEST_F(HyperLinkTest, FailedOpenStaysUnvisitedAndShowsTheTextForTheCode) {
  FailingStarter starter;
  RecordingPrompts prompts;
  CHyperLink link(kSite, nullptr);
  link.Attach();
  link.OnClicked();
  EXPECT_FALSE(link.GetVisited());
  EXPECT_EQ(link.TextColour(), QColor(0, 0, 238));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  ASSERT_EQ(starter.starts.size(), 1u);  // xdg-open only: no browser command is known

  starter.error = 0;
  link.OnClicked();
  EXPECT_TRUE(link.GetVisited());
  EXPECT_EQ(link.TextColour(), QColor(85, 26, 139));
  EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(HyperLinkTest, AboutBoxLinksToTheMakersSiteWithoutUnderline) {
  CAboutDlg dlg("Version 1.23", "Copyright", nullptr);
  CHyperLink* link = dlg.LinkLabel();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->objectName(), "11252");
  EXPECT_EQ(link->GetUrl(), CAboutDlg::kMakerSite);
  EXPECT_EQ(link->toolTip().toStdString(), CAboutDlg::kMakerSite);
  EXPECT_FALSE(link->font().underline());
  EXPECT_TRUE(link->IsAttached());
}

}  // namespace
}  // namespace corvane::test
