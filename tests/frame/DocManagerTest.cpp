#include "framework/ui/CMyDocManager.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QDialog>
#include <QListWidget>

#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CNewTypeDlg.h"
#include "tests/frame/GuiTestSupport.h"
#include "tests/support/ScriptedPrompts.h"

namespace corvane {
namespace {

std::vector<std::string> g_destroyed;

class NamedTemplate : public CMyMultiDocTemplate {
public:
  NamedTemplate(unsigned id, std::string name)
      : CMyMultiDocTemplate(id, [] { return std::make_unique<CDocument>(); }, nullptr, nullptr),
        m_name(std::move(name)) {}
  ~NamedTemplate() override { g_destroyed.push_back(m_name); }

private:
  std::string m_name;
};

class DocManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::EnsureApplication();
    g_destroyed.clear();
  }
  test::TempSettingsHome home;
};

TEST_F(DocManagerTest, OpenNewDocumentByTemplateNumber) {
  CMyDocManager dm;
  EXPECT_FALSE(dm.OpenNewDocument(0));  // no template at all
  dm.AddDocTemplate(new NamedTemplate(134, "one"));
  dm.AddDocTemplate(new NamedTemplate(2000, "two"));
  dm.AddDocTemplate(nullptr);
  ASSERT_EQ(dm.GetTemplateCount(), 2u);

  const struct { int n; bool result; std::size_t first, second; } rows[] = {
      {0, true, 1, 0},  // 0 means the first
      {1, true, 2, 0},
      {2, true, 2, 1},
      {3, false, 2, 1},
      {-1, false, 2, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.n);
    EXPECT_EQ(dm.OpenNewDocument(r.n), r.result);
    EXPECT_EQ(dm.GetTemplate(0)->GetDocumentCount(), r.first);
    EXPECT_EQ(dm.GetTemplate(1)->GetDocumentCount(), r.second);
  }
  EXPECT_EQ(dm.GetOpenDocumentCount(), 3u);
}

TEST_F(DocManagerTest, UntitledDocumentsTakeTheTemplatesNewName) {
  CMyDocManager dm;
  auto* t = new NamedTemplate(134, "builtin");
  t->SetDocString("\nSystem\nXPC-PLC\n\n\nCorvane.Document\nXPC-PLC Document");
  dm.AddDocTemplate(t);
  EXPECT_EQ(t->GetDocString(1), "System");
  EXPECT_EQ(t->GetDocString(6), "XPC-PLC Document");
  EXPECT_EQ(t->GetDocString(9), "");
  dm.OpenNewDocument(1);
  dm.OpenNewDocument(1);
  EXPECT_EQ(t->GetDocument(0)->GetTitle(), "XPC-PLC1");
  EXPECT_EQ(t->GetDocument(1)->GetTitle(), "XPC-PLC2");
}

TEST_F(DocManagerTest, WalkPutsEachDocumentAtTheFront) {
  CMyDocManager dm;
  dm.AddDocTemplate(new NamedTemplate(1, "a"));
  dm.AddDocTemplate(new NamedTemplate(2, "b"));
  dm.OpenNewDocument(1);
  dm.OpenNewDocument(1);
  dm.OpenNewDocument(2);
  CDocument* a1 = dm.GetTemplate(0)->GetDocument(0);
  CDocument* a2 = dm.GetTemplate(0)->GetDocument(1);
  CDocument* b1 = dm.GetTemplate(1)->GetDocument(0);
  EXPECT_EQ(dm.DocumentWalk(), (std::vector<CDocument*>{b1, a2, a1}));
}

TEST_F(DocManagerTest, TemplatesAreDeletedInRegistrationOrderAfterTheirDocuments) {
  {
    CMyDocManager dm;
    dm.AddDocTemplate(new NamedTemplate(1, "first"));
    dm.AddDocTemplate(new NamedTemplate(2, "second"));
    dm.AddDocTemplate(new NamedTemplate(3, "third"));
    dm.OpenNewDocument(3);
  }
  EXPECT_EQ(g_destroyed, (std::vector<std::string>{"first", "second", "third"}));
}

TEST_F(DocManagerTest, SaveAllModifiedStopsAtTheFirstRefusal) {
  test::RecordingPrompts prompts;
  CMyDocManager dm;
  dm.AddDocTemplate(new NamedTemplate(1, "a"));
  dm.OpenNewDocument(1);
  dm.OpenNewDocument(1);
  EXPECT_TRUE(dm.SaveAllModified());
  EXPECT_TRUE(prompts.shown.empty());  // nothing modified, nothing asked
  for (CDocument* d : dm.DocumentWalk()) d->SetModifiedFlag(true);
  prompts.answer = IDCANCEL;
  EXPECT_FALSE(dm.SaveAllModified());
  EXPECT_EQ(prompts.shown.size(), 1u);
  prompts.answer = IDNO;
  EXPECT_TRUE(dm.SaveAllModified());
  EXPECT_EQ(prompts.shown.size(), 3u);
}

// Closes every other document of its template when it receives a command.
class ClosingDoc : public CDocument {
public:
  ClosingDoc() {
    MapCommand(10900, [this] {
      ++g_received;
      CMyMultiDocTemplate* t = GetDocTemplate();
      for (std::size_t i = t->GetDocumentCount(); i-- > 0;)
        if (t->GetDocument(i) != this) t->GetDocument(i)->OnCloseDocument();
    });
  }
  static int g_received;
};
int ClosingDoc::g_received = 0;

TEST_F(DocManagerTest, CommandsToDocumentsSurviveHandlersThatCloseDocuments) {
  CMyDocManager dm;
  dm.AddDocTemplate(new CMyMultiDocTemplate(1, [] { return std::make_unique<ClosingDoc>(); }, nullptr, nullptr));
  for (int i = 0; i < 3; ++i) dm.OpenNewDocument(1);
  ClosingDoc::g_received = 0;
  dm.SendCommandToDocuments(10900);
  EXPECT_EQ(ClosingDoc::g_received, 1);
  EXPECT_EQ(dm.GetOpenDocumentCount(), 1u);
}

// Ctrl+N and Ctrl+O: the frame's route ends at the document manager's standard commands.
class StandardFileCommands : public DocManagerTest {
protected:
  void SetUp() override {
    DocManagerTest::SetUp();
    builtIn = new NamedTemplate(134, "builtin");
    builtIn->SetDocString("\nSystem\nXPC-PLC\n\n\nCorvane.Document\nXPC-PLC Document");
    module = new NamedTemplate(2000, "module");
    module->SetDocString("\nModA\nModA\nModA Files (*.mda)\n.mda\n\n");
    silent = new NamedTemplate(2001, "silent");  // no new-document name: not offered
    for (CMyMultiDocTemplate* t : {builtIn, module, silent}) dm.AddDocTemplate(t);
    frame = std::make_unique<CMDIFrameWnd>();  // after the application exists
    frame->SetDocManager(&dm);
    previous = SetPrompts(&prompts);
  }
  void TearDown() override { SetPrompts(previous); }

  CMyDocManager dm;
  std::unique_ptr<CMDIFrameWnd> frame;
  NamedTemplate* builtIn = nullptr;
  NamedTemplate* module = nullptr;
  NamedTemplate* silent = nullptr;
  test::ScriptedPrompts prompts;
  IPrompts* previous = nullptr;
};

TEST_F(StandardFileCommands, NewOpensADocumentOfTheTemplatePicked) {
  std::vector<std::string> offered;
  int row = 1;
  int answer = QDialog::Accepted;
  dm.NewTypeDialogHook = [&](CNewTypeDlg& dlg) {
    offered.clear();
    for (int i = 0; i < dlg.TypeList()->count(); ++i) offered.push_back(dlg.TypeList()->item(i)->text().toStdString());
    dlg.TypeList()->setCurrentRow(row);
    return answer;
  };
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_NEW));
  EXPECT_EQ(offered, (std::vector<std::string>{"XPC-PLC", "ModA"}));
  EXPECT_EQ(module->GetDocumentCount(), 1u);
  EXPECT_EQ(module->GetDocument(0)->GetTitle(), "ModA1");
  row = 0;
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_NEW));
  EXPECT_EQ(builtIn->GetDocumentCount(), 1u);
  answer = QDialog::Rejected;
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_NEW));
  EXPECT_EQ(dm.GetOpenDocumentCount(), 2u);
  EXPECT_EQ(silent->GetDocumentCount(), 0u);
}

TEST_F(StandardFileCommands, NewWithOneTemplateAsksNothing) {
  CMyDocManager single;
  auto* only = new NamedTemplate(134, "only");
  single.AddDocTemplate(only);
  bool asked = false;
  single.NewTypeDialogHook = [&](CNewTypeDlg&) { asked = true; return int(QDialog::Rejected); };
  frame->SetDocManager(&single);
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_NEW));
  EXPECT_FALSE(asked);
  EXPECT_EQ(only->GetDocumentCount(), 1u);
  frame->SetDocManager(&dm);
}

TEST_F(StandardFileCommands, OpenHandsThePickedFileToTheApplication) {
  std::vector<std::string> opened;
  dm.FileOpener = [&](const std::string& path) { opened.push_back(path); };
  prompts.path = "/tmp/plant.cvn";
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_OPEN));
  EXPECT_EQ(opened, std::vector<std::string>{"/tmp/plant.cvn"});
  EXPECT_EQ(prompts.lastRequest.filter, "ModA Files (*.mda)|*.mda|All Files (*)|*||");
  EXPECT_EQ(dm.GetOpenDocumentCount(), 0u);
  prompts.path.reset();  // cancelled
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_OPEN));
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(StandardFileCommands, OpenWithoutAnApplicationEntryUsesTheTemplateOfTheExtension) {
  prompts.path = "/tmp/drive.MDA";
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_OPEN));
  ASSERT_EQ(module->GetDocumentCount(), 1u);
  EXPECT_EQ(module->GetDocument(0)->GetPathName(), "/tmp/drive.MDA");
  prompts.path = "/tmp/other.txt";
  EXPECT_TRUE(frame->OnCommand(cmd::ID_FILE_OPEN));
  EXPECT_EQ(dm.GetOpenDocumentCount(), 1u);
}

}  // namespace
}  // namespace corvane
