#include "widgets/ui/CProgressWnd.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include "platform/CProfileStore.h"
#include "tests/frame/GuiTestSupport.h"

namespace corvane {
namespace {

class ProgressWndTest : public ::testing::Test {
protected:
  void SetUp() override { test::EnsureApplication(); }
  test::TempSettingsHome home;
};

TEST_F(ProgressWndTest, Percentage) {
  const struct { int pos, lo, hi, percent; } rows[] = {
      {0, 0, 100, 0},   {50, 0, 100, 50},  {1, 0, 1, 100},   {1, 0, 3, 33},   {2, 0, 3, 67},
      {5, 5, 5, 0},     {3, 5, 1, 0},      {15, 10, 20, 50}, {1, 0, 200, 1},  {0, -100, 100, 50},
      {2147483647, -2147483647 - 1, 2147483647, 100},
  };
  for (const auto& r : rows)
    EXPECT_EQ(CProgressWnd::Percent(r.pos, r.lo, r.hi), r.percent) << r.pos << " " << r.lo << " " << r.hi;
  EXPECT_EQ(CProgressWnd::Caption("Processing...", 100), "Processing... [100%]");
}

TEST_F(ProgressWndTest, OnScreenRule) {
  const struct { int x, y; bool on; } rows[] = {
      {0, 0, true}, {1919, 1079, true}, {1920, 0, false}, {0, 1080, false}, {-1, -1, false}, {-1, 10, false},
  };
  for (const auto& r : rows) EXPECT_EQ(CProgressWnd::IsOnScreen(r.x, r.y, 1920, 1080), r.on) << r.x << "," << r.y;
}

TEST_F(ProgressWndTest, CaptionChangesOnlyWithThePercentage) {
  CProgressWnd wnd(nullptr, "Processing...");
  wnd.SetRange(0, 1000, 1);
  EXPECT_EQ(wnd.SetPos(1), 0);  // 0.1 % rounds to 0: caption untouched
  EXPECT_EQ(wnd.windowTitle().toStdString(), "Processing...");
  EXPECT_EQ(wnd.findChild<QProgressBar*>()->value(), 1);
  EXPECT_EQ(wnd.SetPos(500), 1);
  EXPECT_EQ(wnd.windowTitle().toStdString(), "Processing... [50%]");
  wnd.SetText("\nModule Searching...");
  EXPECT_EQ(wnd.findChild<QLabel*>("ProgressText")->text().toStdString(), "\nModule Searching...");
  EXPECT_FALSE(wnd.findChild<QPushButton*>()->isVisible());
}

// No window manager's title bar, so none can add a close, minimise or maximise button: the
// window draws the caption itself, above the text, and the caption follows the percentage.
TEST_F(ProgressWndTest, NoWindowManagerButtonsAndItsOwnCaption) {
  CProgressWnd wnd(nullptr, "Processing...");
  const Qt::WindowFlags flags = wnd.windowFlags();
  EXPECT_EQ(wnd.windowType(), Qt::Tool);
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  for (const Qt::WindowType button : {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint,
                                      Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
    EXPECT_FALSE(flags.testFlag(button)) << static_cast<int>(button);

  const auto* caption = wnd.findChild<QLabel*>("ProgressCaption");
  const auto* text = wnd.findChild<QLabel*>("ProgressText");
  ASSERT_NE(caption, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(caption->text().toStdString(), "Processing...");
  EXPECT_TRUE(caption->isVisible());
  EXPECT_EQ(caption->width(), wnd.width() - 2);  // inside the one-pixel border
  EXPECT_LT(caption->geometry().bottom(), text->geometry().top());
  EXPECT_LE(wnd.findChild<QProgressBar*>()->geometry().bottom(), wnd.height() - 1);
  wnd.SetRange(0, 1, 1);
  wnd.SetPos(1);
  EXPECT_EQ(caption->text().toStdString(), "Processing... [100%]");
  EXPECT_EQ(wnd.windowTitle(), caption->text());
}

TEST_F(ProgressWndTest, ModalDisablesTheOwnerChainAndReenablesExactlyIt) {
  QMainWindow top;
  QWidget* middle = new QWidget(&top);
  top.show();
  {
    CProgressWnd wnd(middle, "Processing...");
    ASSERT_TRUE(wnd.BeginModal("Progress"));
    EXPECT_TRUE(wnd.IsModal());
    EXPECT_EQ(wnd.DisabledOwner(), &top);
    EXPECT_FALSE(top.isEnabled());
    EXPECT_TRUE(wnd.isEnabled());
  }
  EXPECT_TRUE(top.isEnabled());

  // An owner that was already disabled stays so; the walk stops below it.
  middle->setEnabled(false);
  {
    CProgressWnd wnd(middle, "Processing...");
    ASSERT_TRUE(wnd.BeginModal());
    EXPECT_EQ(wnd.DisabledOwner(), &wnd);
  }
  EXPECT_FALSE(middle->isEnabled());
  EXPECT_TRUE(top.isEnabled());
}

TEST_F(ProgressWndTest, PositionComesFromTheProfile) {
  platform::CProfileStore profile;
  const QRect screen = QApplication::primaryScreen()->geometry();

  ASSERT_TRUE(profile.WriteProfileInt("Settings", "X", 40));
  ASSERT_TRUE(profile.WriteProfileInt("Settings", "Y", 30));
  {
    CProgressWnd wnd(nullptr, "Processing...");
    EXPECT_EQ(wnd.pos(), QPoint(40, 30));
    wnd.move(50, 60);
  }
  // Destroying it stored where it was.
  EXPECT_EQ(profile.GetProfileInt("Settings", "X", -1), 50);
  EXPECT_EQ(profile.GetProfileInt("Settings", "Y", -1), 60);

  const struct { int x, y; } centred[] = {{-1, -1}, {screen.width(), 10}, {10, screen.height() + 5}};
  for (const auto& c : centred) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    profile.WriteProfileInt("Settings", "X", c.x);
    profile.WriteProfileInt("Settings", "Y", c.y);
    CProgressWnd wnd(nullptr, "Processing...");
    wnd.SetPersistent(false);  // keep the stored place for the next row
    const QPoint mid = wnd.geometry().center();
    EXPECT_LE(std::abs(mid.x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(mid.y() - screen.center().y()), 2);
  }
}

TEST_F(ProgressWndTest, NoStoredPlaceCentres) {
  const QRect screen = QApplication::primaryScreen()->geometry();
  CProgressWnd wnd(nullptr, "Processing...");
  const QPoint mid = wnd.geometry().center();
  EXPECT_LE(std::abs(mid.x() - screen.center().x()), 2);
  EXPECT_LE(std::abs(mid.y() - screen.center().y()), 2);
}

}  // namespace
}  // namespace corvane
