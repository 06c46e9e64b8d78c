#include "widgets/ui/COutputListWnd.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <regex>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/frame/GuiTestSupport.h"
#include "widgets/ui/COutputLogModel.h"

namespace corvane {
namespace {

class OutputLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::EnsureApplication();
    wnd = std::make_unique<COutputListWnd>();
    wnd->resize(600, 200);
    wnd->show();
  }
  test::TempSettingsHome home;
  std::unique_ptr<COutputListWnd> wnd;
};

TEST_F(OutputLogTest, TimeStampFormat) {
  const char* oldTz = std::getenv("TZ");
  const std::string saved = oldTz ? oldTz : "";
  setenv("TZ", "UTC", 1);
  tzset();
  const struct { std::time_t when; const char* text; } rows[] = {
      {1453885503, "2016/01/27  09:05:03"},
      {0, "1970/01/01  00:00:00"},
      {1703980799, "2023/12/30  23:59:59"},
  };
  for (const auto& r : rows) EXPECT_EQ(COutputLogModel::FormatTime(r.when), r.text);
  if (oldTz) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST_F(OutputLogTest, ColumnsAndStyle) {
  QTableView* list = wnd->List();
  EXPECT_EQ(wnd->Model()->columnCount(), 2);
  EXPECT_EQ(wnd->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "Time");
  EXPECT_EQ(wnd->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "Description");
  EXPECT_EQ(list->columnWidth(0), 180);
  EXPECT_TRUE(list->showGrid());
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(OutputLogTest, AddLineKeepsOrderTextAndStampsWithIcon) {
  const std::regex stamp(R"(\d{4}/\d{2}/\d{2}  \d{2}:\d{2}:\d{2})");
  EXPECT_EQ(wnd->AddLine("  padded  "), 1);
  EXPECT_EQ(wnd->AddLine(""), 1);
  EXPECT_EQ(wnd->AddLine("third"), 1);
  COutputLogModel* m = wnd->Model();
  ASSERT_EQ(m->rowCount(), 3);
  EXPECT_EQ(m->data(m->index(0, 1), Qt::DisplayRole).toString().toStdString(), "  padded  ");
  EXPECT_EQ(m->data(m->index(1, 1), Qt::DisplayRole).toString().toStdString(), "");
  EXPECT_EQ(m->data(m->index(2, 1), Qt::DisplayRole).toString().toStdString(), "third");
  for (int r = 0; r < 3; ++r) {
    EXPECT_TRUE(std::regex_match(m->data(m->index(r, 0), Qt::DisplayRole).toString().toStdString(), stamp));
    EXPECT_FALSE(m->data(m->index(r, 0), Qt::DecorationRole).value<QIcon>().isNull());
  }
  EXPECT_FALSE(m->data(m->index(3, 0), Qt::DisplayRole).isValid());
}

TEST_F(OutputLogTest, AddLineMovesNeitherScrollNorSelection) {
  for (int i = 0; i < 200; ++i) wnd->AddLine("line " + std::to_string(i));
  QApplication::processEvents();
  QTableView* list = wnd->List();
  list->selectRow(3);
  list->verticalScrollBar()->setValue(5);
  for (int i = 0; i < 50; ++i) wnd->AddLine("more");
  QApplication::processEvents();
  EXPECT_EQ(list->verticalScrollBar()->value(), 5);
  ASSERT_EQ(list->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(list->selectionModel()->selectedRows()[0].row(), 3);
}

TEST_F(OutputLogTest, ClearEmptiesAndIsHarmlessWhenEmpty) {
  EXPECT_EQ(wnd->Clear(), 1);
  wnd->AddLine("x");
  EXPECT_EQ(wnd->Clear(), 1);
  EXPECT_EQ(wnd->Model()->rowCount(), 0);
}

TEST_F(OutputLogTest, RightClickIsConsumed) {
  EXPECT_EQ(wnd->contextMenuPolicy(), Qt::PreventContextMenu);
  EXPECT_EQ(wnd->List()->contextMenuPolicy(), Qt::PreventContextMenu);
  EXPECT_EQ(wnd->List()->viewport()->contextMenuPolicy(), Qt::PreventContextMenu);
}

// A reason longer than the pane is cut at its edge: the tooltip carries it whole.
TEST_F(OutputLogTest, LongLineShowsWholeAsTooltip) {
  const std::string reason(400, 'r');
  wnd->AddLine("COM6: " + reason);
  const QModelIndex description = wnd->Model()->index(0, 1);
  EXPECT_LT(wnd->List()->visualRect(description).width(), wnd->List()->fontMetrics().horizontalAdvance(
                                                               QString::fromStdString("COM6: " + reason)));
  EXPECT_EQ(wnd->Model()->data(description, Qt::ToolTipRole).toString().toStdString(), "COM6: " + reason);
}

// Ctrl+C copies the selected line, time and text, even where the window has a Copy command of
// its own on that key.
TEST_F(OutputLogTest, CtrlCCopiesTheSelectedLine) {
  QWidget window;
  int windowCopies = 0;
  auto* copy = new QAction(&window);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(copy, &QAction::triggered, [&] { ++windowCopies; });
  window.addAction(copy);
  auto* log = new COutputListWnd(&window);
  log->resize(600, 200);
  window.resize(600, 200);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const std::time_t when = 1453885503;
  log->Model()->AddLine("first", when);
  log->Model()->AddLine("COM6: /dev/ttyS5: Permission denied", when);
  QGuiApplication::clipboard()->clear();
  log->List()->setFocus();
  log->List()->selectRow(1);
  QTest::keyClick(log->List(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            COutputLogModel::FormatTime(when) + "\tCOM6: /dev/ttyS5: Permission denied");
  EXPECT_EQ(windowCopies, 0);
  EXPECT_EQ(log->Model()->CopyText({0, 1, 7}),
            COutputLogModel::FormatTime(when) + "\tfirst\n" + COutputLogModel::FormatTime(when) +
                "\tCOM6: /dev/ttyS5: Permission denied");
}

TEST_F(OutputLogTest, HundredThousandLinesAreAllKept) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 100000; ++i) wnd->AddLine("message number " + std::to_string(i));
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(wnd->Model()->LineCount(), 100000u);
  EXPECT_EQ(wnd->Model()->LineText(99999), "message number 99999");
  EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(took).count(), 10);
}

}  // namespace
}  // namespace corvane
