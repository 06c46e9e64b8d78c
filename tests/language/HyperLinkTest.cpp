#include "widgets/ui/CHyperLink.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

// Every start succeeds; nothing is opened.
class SucceedingStarter : public platform::IProcessStarter {
public:
  SucceedingStarter() { m_previous = platform::SetProcessStarter(this); }
  ~SucceedingStarter() override { platform::SetProcessStarter(m_previous); }
  int Start(const std::string&, const std::vector<std::string>&, const std::string&) override { return 0; }

private:
  platform::IProcessStarter* m_previous = nullptr;
};

// Right after a click the pointer is still on the link: the hover colour shows until it
// leaves, then the visited colour.
TEST_F(HyperLinkTest, ClickedWhileHoveredKeepsTheHoverColourUntilThePointerLeaves) {
  SucceedingStarter starter;
  RecordingPrompts prompts;
  const QColor hover(200, 0, 0);
  CHyperLink link(kSite, nullptr);
  link.SetColours(QColor(0, 0, 238), QColor(85, 26, 139), hover);
  link.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&link));
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(link.mapToGlobal(QPoint(2, 2))));
  QApplication::sendEvent(&link, &enter);
  ASSERT_EQ(link.TextColour(), hover);
  QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_TRUE(link.GetVisited());
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(link.TextColour(), hover);
  EXPECT_EQ(link.palette().color(QPalette::WindowText), hover);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&link, &leave);
  EXPECT_EQ(link.TextColour(), QColor(85, 26, 139));
  EXPECT_EQ(link.palette().color(QPalette::WindowText), QColor(85, 26, 139));
}

// xdg-open is there but cannot open the page (its status 3: no tool, 4: the action failed): the
// link stays unvisited and the message says so. Its status 0 is an open page.
TEST_F(HyperLinkTest, XdgOpenThatCannotOpenThePageIsReported) {
  const QString bin = m_dir.path() + "/bin";
  ASSERT_TRUE(QDir().mkpath(bin));
  const QString called = m_dir.path() + "/called";
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (bin.toStdString() + ":" + path).c_str(), 1);
  RecordingPrompts prompts;
  const struct {
    int status;
    bool visited;
  } rows[] = {{3, false}, {4, false}, {0, true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.status);
    QFile script(bin + "/xdg-open");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n").arg(called).arg(r.status).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(called);
    prompts.shown.clear();
    CHyperLink link(kSite, nullptr);
    link.Attach();
    link.OnClicked();
    QFile out(called);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll().toStdString(), kSite);
    EXPECT_EQ(link.GetVisited(), r.visited);
    if (r.visited) {
      EXPECT_TRUE(prompts.shown.empty());
    } else {
      ASSERT_EQ(prompts.shown.size(), 1u);
      EXPECT_EQ(prompts.shown[0].text,
                "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    }
  }
  ::setenv("PATH", path.c_str(), 1);
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
