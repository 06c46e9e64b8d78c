#include "app/ui/CMainFrame.h"

#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QFile>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include "app/ui/CChildFrame.h"
#include "app/ui/CCorvaneView.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include <QTreeWidget>
#include "framework/CommandIds.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CPrinting.h"
#include "framework/ui/CResourceIcons.h"
#include "framework/ui/CView.h"
#include "tests/frame/GuiTestSupport.h"
#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/COutputLogModel.h"

namespace corvane {
namespace {

std::vector<std::string>* g_log = nullptr;
void Log(const std::string& s) {
  if (g_log) g_log->push_back(s);
}

// A module's document: handles the module commands and the commands only modules provide.
class ModuleDoc : public CDocument {
public:
  ModuleDoc() {
    MapCommandRange(cmd::ID_MODULE_AFTER_SEARCH, cmd::ID_MODULE_LINK_PRESET,
                    [this](unsigned id) { Log("doc:" + GetTitle() + ":" + std::to_string(id)); });
    for (unsigned id : {cmd::ID_RUN_PLC, cmd::ID_STOP_PLC, cmd::ID_SEND_MESSAGE, cmd::ID_CUSTOMIZE})
      MapCommand(id, [id] { Log("doc:" + std::to_string(id)); });
  }
  bool OnNewDocument() override {
    CDocument::OnNewDocument();
    SetTitle("ModA");
    return true;
  }
};

class FakeApp : public CCmdTarget {
public:
  FakeApp() {
    for (unsigned id : {cmd::ID_APP_ABOUT, cmd::ID_HELP_MANUAL, cmd::ID_HELP_HISTORY, cmd::ID_FILE_NEW,
                        cmd::ID_FILE_OPEN, cmd::ID_FILE_MRU_FILE1, cmd::ID_FILE_PRINT_SETUP})
      MapCommand(id, [id] { Log("app:" + std::to_string(id)); });
  }
};

struct SentMessage {
  unsigned message;
  bool childStillInArea;
};

class RecordingFrame : public CMainFrame {
public:
  void OnProjectNew() override { Log("OnProjectNew"); }
  void OnProjectOpen() override { Log("OnProjectOpen"); }
  void OnProjectSave() override { Log("OnProjectSave"); }
  void OnProjectSaveAs() override { Log("OnProjectSaveAs"); }
  void OnSearchModule() override { Log("OnSearchModule"); }
  void OnIPSearch() override { Log("OnIPSearch"); }
  void OnCommSetting() override { Log("OnCommSetting"); }
  void OnSelectLanguage(unsigned id) override { Log("OnSelectLanguage:" + std::to_string(id)); }
  void OnConfigure() override { Log("OnConfigure"); }
  void LaunchVirtualPort() override { Log("LaunchVirtualPort"); }
  void LaunchLadderStudio() override { Log("LaunchLadderStudio"); }
  void LaunchLadderPad() override { Log("LaunchLadderPad"); }
  void LaunchDriveTool() override { Log("LaunchDriveTool"); }
  void LaunchServoTool() override { Log("LaunchServoTool"); }
  void LaunchCardTool() override { Log("LaunchCardTool"); }
  void OnToolbarToggle(unsigned id) override {
    Log("OnToolbarToggle:" + std::to_string(id));
    CMainFrame::OnToolbarToggle(id);
  }
  void OnBarCheck(unsigned id) override {
    Log("OnBarCheck:" + std::to_string(id));
    CMainFrame::OnBarCheck(id);
  }
  void OnWindowCascade() override { Log("OnWindowCascade"); }
  void OnWindowTile() override { Log("OnWindowTile"); }
  void OnAppExit() override { Log("OnAppExit"); }
  void OnModuleClosed() override { Log("OnModuleClosed"); }

  LRESULT SendMessage(unsigned message, WPARAM wParam, LPARAM lParam) override {
    CMDIChildWnd* child = MDIGetActive();
    sent.push_back({message, child && MdiArea()->subWindowList().contains(child)});
    return CMainFrame::SendMessage(message, wParam, lParam);
  }
  std::vector<SentMessage> sent;
};

constexpr unsigned kModuleTemplateId = 2000;

class MainFrameTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::EnsureApplication();
    g_log = &log;
    docs = std::make_unique<CMyDocManager>();
    docs->AddDocTemplate(CMainFrame::CreateBuiltInTemplate());
    docs->AddDocTemplate(new CMyMultiDocTemplate(
        kModuleTemplateId, [] { return std::make_unique<ModuleDoc>(); }, nullptr, nullptr));
    CMyMultiDocTemplate::SetDefaultFrameFactory([] { return new CChildFrame; });
    frame = new RecordingFrame;
    frame->SetApp(&app);
    frame->SetDocManager(docs.get());
    ASSERT_TRUE(frame->LoadFrame());
    frame->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    delete frame;
    docs.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CMyMultiDocTemplate::SetDefaultFrameFactory(nullptr);
    g_log = nullptr;
  }

  CDocument* OpenModule() {
    EXPECT_TRUE(docs->OpenNewDocument(2));
    QApplication::processEvents();
    return docs->GetTemplate(1)->GetDocument(docs->GetTemplate(1)->GetDocumentCount() - 1);
  }
  bool Enabled(unsigned id) {
    frame->UpdateCommandUI();
    return frame->CommandAction(id)->isEnabled();
  }
  bool Checked(unsigned id) {
    frame->UpdateCommandUI();
    return frame->CommandAction(id)->isChecked();
  }
  void FlushDeletes() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  test::TempSettingsHome home;
  test::RecordingPrompts prompts;
  std::vector<std::string> log;
  FakeApp app;
  std::unique_ptr<CMyDocManager> docs;
  RecordingFrame* frame = nullptr;
};

TEST_F(MainFrameTest, EveryRoutedCommandReachesItsHandler) {
  const struct { unsigned id; const char* handler; } rows[] = {
      {15350, "OnProjectNew"},         {15351, "OnProjectOpen"},         {15352, "OnProjectSave"},
      {15353, "OnProjectSaveAs"},      {15250, "OnSearchModule"},        {15251, "OnIPSearch"},
      {15300, "OnCommSetting"},        {28416, "OnSelectLanguage:28416"}, {28671, "OnSelectLanguage:28671"},
      {15051, "OnConfigure"},          {15255, "LaunchVirtualPort"},     {15256, "LaunchLadderStudio"},
      {15257, "LaunchLadderPad"},      {15258, "LaunchDriveTool"},       {15259, "LaunchServoTool"},
      {15260, "LaunchCardTool"},       {10701, "OnToolbarToggle:10701"}, {10702, "OnToolbarToggle:10702"},
      {10703, "OnToolbarToggle:10703"}, {10704, "OnToolbarToggle:10704"}, {10705, "OnToolbarToggle:10705"},
      {15150, "OnBarCheck:15150"},     {15151, "OnBarCheck:15151"},      {59393, "OnBarCheck:59393"},
      {57664, "app:57664"},            {15400, "app:15400"},             {15401, "app:15401"},
      {57600, "app:57600"},            {57601, "app:57601"},             {57606, "app:57606"},
      {57616, "app:57616"},            {57650, "OnWindowCascade"},       {57651, "OnWindowTile"},
      {57665, "OnAppExit"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    log.clear();
    EXPECT_TRUE(frame->OnCommand(r.id));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], r.handler);
  }
  // Outside the language range nothing answers.
  log.clear();
  EXPECT_FALSE(frame->OnCommand(28415));
  EXPECT_FALSE(frame->OnCommand(28672));
  EXPECT_TRUE(log.empty());
}

TEST_F(MainFrameTest, ModuleOnlyCommandsNeedAModuleDocument) {
  const unsigned ids[] = {15253, 15254, 15301, 15153};
  for (unsigned id : ids) {
    EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(frame->OnCommand(id)) << id;
  }
  ASSERT_TRUE(docs->OpenNewDocument(1));  // built-in document
  for (unsigned id : ids) EXPECT_FALSE(Enabled(id)) << id;
  OpenModule();
  for (unsigned id : ids) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(Enabled(id));
    log.clear();
    EXPECT_TRUE(frame->OnCommand(id));
    EXPECT_EQ(log, std::vector<std::string>{"doc:" + std::to_string(id)});
  }
}

TEST_F(MainFrameTest, PrintCommandsGoToTheBuiltInView) {
  AfxPrintDialogHook() = [](QDialog&) { return int(QDialog::Rejected); };
  EXPECT_FALSE(frame->OnCommand(cmd::ID_FILE_PRINT));
  ASSERT_TRUE(docs->OpenNewDocument(1));
  QApplication::processEvents();
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT));
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT_PREVIEW));
  EXPECT_TRUE(Enabled(cmd::ID_FILE_PRINT));
  AfxPrintDialogHook() = nullptr;
}

// The built-in view with something to draw, to see printing and preview draw it.
class DrawingView : public CCorvaneView {
public:
  void OnDraw(QPainter* pDC) override {
    ++draws;
    pDC->drawRect(10, 10, 100, 50);
  }
  static int draws;
};
int DrawingView::draws = 0;

TEST_F(MainFrameTest, PrintSetupPrintAndPreviewUseTheApplicationsPrinter) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("page.pdf");
  QPrinter& printer = AfxGetPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdf);
  std::vector<std::string> dialogs;
  int answer = QDialog::Rejected;
  AfxPrintDialogHook() = [&](QDialog& dlg) {
    dialogs.push_back(dlg.metaObject()->className());
    if (auto* preview = dlg.findChild<QPrintPreviewWidget*>()) preview->updatePreview();
    return answer;
  };
  auto printed = [&] {
    QFile file(pdf);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "%PDF";
  };

  // Print set-up is the application's framework default: there with no document open. Qt's page
  // set-up refuses a file printer, so without an installed printer the user is told instead.
  frame->SetApp(nullptr);
  EXPECT_TRUE(Enabled(cmd::ID_FILE_PRINT_SETUP));
  prompts.shown.clear();
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT_SETUP));
  EXPECT_TRUE(dialogs.empty());
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "No printer is installed.");
  frame->SetApp(&app);

  docs->AddDocTemplate(new CMyMultiDocTemplate(
      3000, [] { return std::make_unique<CDocument>(); }, nullptr, [] { return new DrawingView; }));
  ASSERT_TRUE(docs->OpenNewDocument(3));
  DrawingView::draws = 0;
  dialogs.clear();
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT));  // the print dialog, cancelled
  EXPECT_EQ(dialogs, std::vector<std::string>{"QPrintDialog"});
  EXPECT_EQ(DrawingView::draws, 0);
  EXPECT_FALSE(printed());
  answer = QDialog::Accepted;
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT));
  EXPECT_EQ(DrawingView::draws, 1);
  EXPECT_TRUE(printed());

  QFile::remove(pdf);
  dialogs.clear();
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT_DIRECT));  // no dialog
  EXPECT_TRUE(dialogs.empty());
  EXPECT_EQ(DrawingView::draws, 2);
  EXPECT_TRUE(printed());

  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT_PREVIEW));
  EXPECT_EQ(dialogs, std::vector<std::string>{"QPrintPreviewDialog"});
  EXPECT_GE(DrawingView::draws, 3);

  // A printer that cannot start says so.
  printer.setOutputFileName(dir.filePath("missing-folder/page.pdf"));
  prompts.shown.clear();
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_PRINT_DIRECT));
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Failed to start print job.");
  AfxPrintDialogHook() = nullptr;
}

TEST_F(MainFrameTest, ProjectCommandStates) {
  EXPECT_TRUE(Enabled(15350));
  EXPECT_FALSE(Enabled(15351));
  EXPECT_FALSE(Enabled(15352));
  EXPECT_FALSE(Enabled(15353));
}

TEST_F(MainFrameTest, CommunicationSettingDisabledWhileADocumentIsOpen) {
  EXPECT_TRUE(Enabled(cmd::ID_COMM_SETTING));
  CDocument* doc = OpenModule();
  ASSERT_NE(doc, nullptr);
  // The toolbar must follow without a menu being opened.
  EXPECT_FALSE(frame->CommandAction(cmd::ID_COMM_SETTING)->isEnabled());
  doc->OnCloseDocument();
  FlushDeletes();
  EXPECT_TRUE(frame->CommandAction(cmd::ID_COMM_SETTING)->isEnabled());
}

TEST_F(MainFrameTest, ToolbarTogglesHideShowAndCheck) {
  for (unsigned id = cmd::ID_TOOLBAR_STANDARD; id <= cmd::ID_TOOLBAR_WINDOW; ++id) {
    SCOPED_TRACE(id);
    QToolBar* bar = frame->ToolBar(id);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(Checked(id));
    frame->OnCommand(id);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(frame->CommandAction(id)->isChecked());
    frame->OnCommand(id);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(frame->CommandAction(id)->isChecked());
  }
}

TEST_F(MainFrameTest, ToolbarsDockInOneRowInOrderAndPanesOnTheirSides) {
  const char* titles[] = {"Standard", "Edit", "Communication", "Application", "Window"};
  int lastRight = -1;
  int row = -1;
  for (unsigned i = 0; i < 5; ++i) {
    QToolBar* bar = frame->ToolBar(cmd::ID_TOOLBAR_STANDARD + i);
    SCOPED_TRACE(titles[i]);
    EXPECT_EQ(bar->windowTitle().toStdString(), titles[i]);
    EXPECT_EQ(frame->toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_GT(bar->geometry().left(), lastRight);
    if (row >= 0) {
      EXPECT_EQ(bar->geometry().top(), row);
    }
    row = bar->geometry().top();
    lastRight = bar->geometry().right();
  }
  EXPECT_EQ(frame->dockWidgetArea(frame->DeviceTreePane()), Qt::LeftDockWidgetArea);
  EXPECT_EQ(frame->dockWidgetArea(frame->OutputPane()), Qt::BottomDockWidgetArea);
  EXPECT_EQ(frame->DeviceTreePane()->allowedAreas(), Qt::AllDockWidgetAreas);
}

// A right click on a pane, its title bar too, opens no menu; on a toolbar Qt's menu of bars opens
// (which shows that the check can see a menu).
TEST_F(MainFrameTest, PanesOpenNoContextMenu) {
  const auto menuAfterRightClick = [](QWidget* target, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    QApplication::processEvents();
    QWidget* popup = QApplication::activePopupWidget();
    if (popup) popup->close();
    return popup != nullptr;
  };
  for (QDockWidget* pane : {frame->OutputPane(), frame->DeviceTreePane()}) {
    SCOPED_TRACE(pane->objectName().toStdString());
    EXPECT_EQ(pane->contextMenuPolicy(), Qt::PreventContextMenu);
    EXPECT_FALSE(menuAfterRightClick(pane, QPoint(pane->width() / 2, 4)));  // the title bar
  }
  EXPECT_TRUE(menuAfterRightClick(frame->ToolBar(cmd::ID_TOOLBAR_STANDARD), QPoint(4, 4)));
}

// Every toolbar picture has renditions at two and three times its size, so a scaled screen
// gets one drawn at its size rather than a 16-pixel picture blown up.
TEST_F(MainFrameTest, ToolbarIconsStaySharpOnScaledScreens) {
  for (unsigned id = cmd::ID_TOOLBAR_STANDARD; id <= cmd::ID_TOOLBAR_WINDOW; ++id) {
    for (QAction* action : frame->ToolBar(id)->actions()) {
      if (action->isSeparator()) continue;
      SCOPED_TRACE(action->data().toUInt());
      const QIcon icon = action->icon();
      ASSERT_FALSE(icon.isNull());
      const QList<QSize> sizes = icon.availableSizes();
      for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)}) EXPECT_TRUE(sizes.contains(size));
      const QImage atTwo = icon.pixmap(QSize(16, 16), 2.0).toImage();
      EXPECT_EQ(atTwo.size(), QSize(32, 32));
      EXPECT_EQ(icon.pixmap(QSize(16, 16), 3.0).size(), QSize(48, 48));
      // Drawn at that size: not the 16-pixel picture blown up.
      const QImage blownUp = icon.pixmap(QSize(16, 16), 1.0).toImage().scaled(32, 32).convertToFormat(atTwo.format());
      EXPECT_NE(atTwo.convertToFormat(QImage::Format_ARGB32), blownUp.convertToFormat(QImage::Format_ARGB32));
    }
  }
}

TEST_F(MainFrameTest, PaneAndStatusBarCommandsToggleAndCheck) {
  const struct { unsigned id; QWidget* bar; } rows[] = {
      {cmd::ID_VIEW_WORKSPACE, frame->DeviceTreePane()},
      {cmd::ID_VIEW_OUTPUT, frame->OutputPane()},
      {cmd::ID_VIEW_STATUS_BAR, frame->statusBar()},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    EXPECT_TRUE(Checked(r.id));
    frame->OnCommand(r.id);
    EXPECT_TRUE(r.bar->isHidden());
    EXPECT_FALSE(Checked(r.id));
    frame->OnCommand(r.id);
    EXPECT_FALSE(r.bar->isHidden());
  }
}

TEST_F(MainFrameTest, ToolbarButtonsCarryTooltipsAndPrompts) {
  const struct { unsigned id; const char* tip; const char* prompt; } rows[] = {
      {15350, "New", "Create a new document"},
      {15250, "Search", "Search module"},
      {15251, "IP Search", "IP Search module"},
      {15300, "Communication setting", "Communication parameters setting"},
      {15260, "CardTool", "Open CardTool"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    EXPECT_EQ(frame->CommandAction(r.id)->toolTip().toStdString(), r.tip);
    EXPECT_EQ(frame->CommandAction(r.id)->statusTip().toStdString(), r.prompt);
    EXPECT_FALSE(frame->CommandAction(r.id)->icon().isNull());
  }
}

TEST_F(MainFrameTest, AcceleratorsSendFrameworkCommandsNotProjectCommands) {
  EXPECT_TRUE(frame->CommandAction(cmd::ID_FILE_NEW)->shortcuts().contains(QKeySequence("Ctrl+N")));
  EXPECT_TRUE(frame->CommandAction(cmd::ID_FILE_OPEN)->shortcuts().contains(QKeySequence("Ctrl+O")));
  EXPECT_TRUE(frame->CommandAction(cmd::ID_FILE_SAVE)->shortcuts().contains(QKeySequence("Ctrl+S")));
  EXPECT_TRUE(frame->CommandAction(cmd::ID_PROJECT_NEW)->shortcuts().isEmpty());
  EXPECT_TRUE(frame->CommandAction(cmd::ID_PROJECT_OPEN)->shortcuts().isEmpty());
  EXPECT_EQ(frame->CommandAction(cmd::ID_PROJECT_NEW)->text().toStdString(), "&New\tCtrl+N");

  // Pressed, the keys reach the application's standard commands; nothing answers 57603.
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  const struct { Qt::Key key; std::vector<std::string> handled; } presses[] = {
      {Qt::Key_N, {"app:57600"}}, {Qt::Key_O, {"app:57601"}}, {Qt::Key_S, {}}};
  for (const auto& p : presses) {
    SCOPED_TRACE(p.key);
    log.clear();
    QTest::keyClick(frame, p.key, Qt::ControlModifier);
    EXPECT_EQ(log, p.handled);
  }
}

TEST_F(MainFrameTest, MenuAndTitleFollowTheActiveDocument) {
  EXPECT_EQ(frame->CurrentMenuId(), 128u);
  EXPECT_EQ(frame->windowTitle().toStdString(), "Corvane");
  ASSERT_TRUE(docs->OpenNewDocument(1));
  QApplication::processEvents();
  EXPECT_EQ(frame->windowTitle().toStdString(), "Corvane - XPC-PLC1");
  CDocument* doc = OpenModule();
  EXPECT_EQ(frame->CurrentMenuId(), 134u);
  EXPECT_EQ(frame->windowTitle().toStdString(), "Corvane - ModA");
  doc->OnCloseDocument();
  FlushDeletes();
  QApplication::processEvents();
  EXPECT_EQ(frame->windowTitle().toStdString(), "Corvane - XPC-PLC1");
  docs->GetTemplate(0)->GetDocument(0)->OnCloseDocument();
  FlushDeletes();
  EXPECT_EQ(frame->CurrentMenuId(), 128u);
  EXPECT_EQ(frame->windowTitle().toStdString(), "Corvane");
}

TEST_F(MainFrameTest, MenuOpeningReevaluatesItsItems) {
  QMenu* view = nullptr;
  for (QAction* a : frame->menuBar()->actions())
    if (a->text() == "&View") view = a->menu();
  ASSERT_NE(view, nullptr);
  frame->statusBar()->hide();  // behind the frame's back: only the menu opening can notice
  frame->CommandAction(cmd::ID_VIEW_STATUS_BAR)->setChecked(true);
  emit view->aboutToShow();
  EXPECT_FALSE(frame->CommandAction(cmd::ID_VIEW_STATUS_BAR)->isChecked());
}

TEST_F(MainFrameTest, OutputMessages) {
  const COutputLogModel* model = frame->Output()->Model();
  std::string text = "first line";
  EXPECT_EQ(frame->SendMessage(0x468, 0, reinterpret_cast<LPARAM>(text.c_str())), 1);
  text.assign("overwritten");  // the frame copied it
  EXPECT_EQ(frame->SendMessage(0x468, 0, reinterpret_cast<LPARAM>("")), 1);
  EXPECT_EQ(frame->SendMessage(0x468, 0, 0), 1);
  ASSERT_EQ(model->LineCount(), 3u);
  EXPECT_EQ(model->LineText(0), "first line");
  EXPECT_EQ(model->LineText(1), "");
  EXPECT_EQ(model->LineText(2), "");
  EXPECT_EQ(frame->SendMessage(0x469, 0, 0), 1);
  EXPECT_EQ(model->LineCount(), 0u);
  EXPECT_EQ(frame->SendMessage(0x469, 0, 0), 1);
}

TEST_F(MainFrameTest, ConnectionTestPortAndUnknownMessages) {
  EXPECT_EQ(frame->SendMessage(0x464, 0, 0), 1);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, "Communication with MainFrame ok!");
  EXPECT_EQ(frame->SendMessage(0x4C9, 4711, 0), 1);
  EXPECT_EQ(frame->PorthubPort(), 4711);
  EXPECT_EQ(frame->SendMessage(0x467, 0, 0), 0);
}

TEST_F(MainFrameTest, RefreshLinkStatusWritesThePanes) {
  frame->LinkSettings().CommType = 2;
  frame->LinkSettings().PorthubDrv = -1;
  frame->LinkSettings().PorthubInter = 2;
  frame->LinkSettings().PorthubCOM = 4;
  EXPECT_EQ(frame->SendMessage(0x46A, 0, 0), 1);
  EXPECT_EQ(frame->StatusPane(15000)->text().toStdString(), "Driver-1");
  EXPECT_EQ(frame->StatusPane(15001)->text().toStdString(), "[USB: COM4]");
  frame->LinkSettings().CommType = 7;  // unknown: panes keep their texts
  frame->RefreshLinkStatus();
  EXPECT_EQ(frame->StatusPane(15000)->text().toStdString(), "Driver-1");
}

TEST_F(MainFrameTest, ModuleDocumentsReceiveModuleCommands) {
  OpenModule();
  for (unsigned id = cmd::ID_MODULE_AFTER_SEARCH; id <= cmd::ID_MODULE_LINK_PRESET; ++id) {
    log.clear();
    docs->SendCommandToDocuments(id);
    EXPECT_EQ(log, std::vector<std::string>{"doc:ModA:" + std::to_string(id)});
    log.clear();
    EXPECT_TRUE(frame->OnCommand(id));  // the active document is first on the route
    EXPECT_EQ(log, std::vector<std::string>{"doc:ModA:" + std::to_string(id)});
  }
}

TEST_F(MainFrameTest, ChildCloseTellsTheFrameFirst) {
  OpenModule();
  CMDIChildWnd* child = frame->MDIGetActive();
  ASSERT_NE(child, nullptr);
  QApplication::processEvents();
  // Maximised: as wide as the document area and at least as tall.
  EXPECT_EQ(child->width(), frame->MdiArea()->viewport()->width());
  EXPECT_GE(child->height(), frame->MdiArea()->viewport()->height());
  EXPECT_EQ(child->windowTitle().toStdString(), "ModA");
  frame->sent.clear();
  child->close();
  ASSERT_EQ(frame->sent.size(), 1u);
  EXPECT_EQ(frame->sent[0].message, 0x466u);
  EXPECT_TRUE(frame->sent[0].childStillInArea);
  EXPECT_EQ(docs->GetOpenDocumentCount(), 0u);
  FlushDeletes();
  EXPECT_TRUE(frame->MdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFrameTest, CloseCancelledAtTheSaveQuestionTellsTheFrameNothing) {
  CDocument* doc = OpenModule();
  doc->SetModifiedFlag(true);
  CMDIChildWnd* child = frame->MDIGetActive();
  ASSERT_NE(child, nullptr);
  frame->sent.clear();
  log.clear();
  prompts.answer = IDCANCEL;
  child->close();
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(frame->sent.empty());
  EXPECT_TRUE(log.empty());  // the module stays listed
  EXPECT_EQ(docs->GetOpenDocumentCount(), 1u);
  prompts.answer = IDNO;
  child->close();
  ASSERT_EQ(frame->sent.size(), 1u);
  EXPECT_EQ(frame->sent[0].message, 0x466u);
  EXPECT_TRUE(frame->sent[0].childStillInArea);
  EXPECT_EQ(log, std::vector<std::string>{"OnModuleClosed"});
  EXPECT_EQ(docs->GetOpenDocumentCount(), 0u);
  FlushDeletes();
}

TEST_F(MainFrameTest, ModuleClosedWithoutActiveChildChangesNothing) {
  EXPECT_EQ(frame->SendMessage(0x466, 0, 0), 1);
  EXPECT_EQ(docs->GetOpenDocumentCount(), 0u);
}

TEST_F(MainFrameTest, ClosingOffersModifiedDocumentsForSaving) {
  CDocument* doc = OpenModule();
  doc->SetModifiedFlag(true);
  prompts.answer = IDCANCEL;
  EXPECT_FALSE(frame->close());
  EXPECT_EQ(docs->GetOpenDocumentCount(), 1u);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::YesNoCancel);
  prompts.answer = IDNO;
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(docs->GetOpenDocumentCount(), 0u);
}

TEST_F(MainFrameTest, DeviceTreeHasItsFourFixedNodes) {
  QTreeWidgetItem* root = nullptr;
  ASSERT_TRUE(frame->DeviceTree());
  root = frame->DeviceTree()->RootItem();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(0).toStdString(), "Network Type");
  ASSERT_EQ(root->childCount(), 3);
  EXPECT_EQ(root->child(0)->text(0).toStdString(), "Ethernet");
  EXPECT_EQ(root->child(1)->text(0).toStdString(), "Communication Card");
  EXPECT_EQ(root->child(2)->text(0).toStdString(), "SMX");
  EXPECT_TRUE(root->isExpanded());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(root->child(i)->isExpanded());
  frame->DeviceTree()->ResetTree();
  EXPECT_EQ(frame->DeviceTree()->RootItem()->childCount(), 3);
}

TEST(ResourcePictures, EveryNumberedPictureLoadsAtItsSize) {
  test::EnsureApplication();
  std::vector<unsigned> icons;
  for (unsigned id = 300; id <= 314; ++id) icons.push_back(id);
  icons.push_back(402);
  for (unsigned id = 405; id <= 410; ++id) icons.push_back(id);
  for (unsigned id : icons) {
    SCOPED_TRACE(id);
    const QIcon icon = LoadIcon(id);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16));
  }
  for (unsigned id : {208u, 209u}) EXPECT_EQ(LoadBitmap(id).size(), QSize(16, 16)) << id;
  EXPECT_FALSE(LoadBitmap(204).isNull());
  EXPECT_TRUE(LoadIcon(315).isNull());
}

}  // namespace
}  // namespace corvane
