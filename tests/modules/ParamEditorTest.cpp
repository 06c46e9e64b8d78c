// The parameter editor in the real frame against corvane-devsim on a pty registered as COM7:
// the search opens it and 10900 reads the device, table edits are written back or refused,
// and a project keeps the values (10902 and 10901).
#include <QColor>
#include <QFont>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <memory>

#include "DevsimProcess.h"
#include "ModuleTestEnv.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CProjectCommands.h"
#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CView.h"
#include "libs/portlink/CPortLink.h"

#include <arpa/inet.h>
#include <unistd.h>

namespace corvane {
namespace {

constexpr int kValue = 2;  // the table's value column

QString Value(QTableWidget* table, unsigned address) {
  const int row = ModuleTestEnv::RowOf(table, address);
  return row >= 0 ? table->item(row, kValue)->text() : QString("<no row>");
}
void Edit(QTableWidget* table, unsigned address, const QString& text) {
  const int row = ModuleTestEnv::RowOf(table, address);
  ASSERT_GE(row, 0);
  table->item(row, kValue)->setText(text);  // what the cell editor commits
}
QPushButton* WriteButton(CDocument* doc) {
  for (QPushButton* b : doc->GetFirstView()->findChildren<QPushButton*>())
    if (b->text() == "Write") return b;
  return nullptr;
}

class ParamEditor : public ModuleTestEnv {
protected:
  void SetUp() override {
    ModuleTestEnv::SetUp();
    WriteSettings("CommType=0\nComPortNum=7\nBaudRate=19200\nDataLen=8\nParity=0\nStopBits=1\nModbusMode=1\nStationAddr=1\n");
    m_sim = std::make_unique<DevsimProcess>();
    ASSERT_TRUE(m_sim->Start({"--no-tcp", "--no-udp", "--com", "7", "--device",
                              "code=0x0015 station=1 sub=0x4041 reg=0x2000:5000,0x2001:100,0x2002:40000,0x2004:0xFF38,0x4000:10"},
                             (m_root / "data").string()))
        << m_sim->ReadyLine();
  }
  void TearDown() override {
    m_sim->Stop();
    ModuleTestEnv::TearDown();
  }

  // The simulator's register, read on a link of the test's own while the frame's is closed.
  int Register(unsigned address) {
    CPortLink link;
    link.SetPortResolver([pty = m_sim->Field("pty")](int) { return pty; });
    link.SetModbusMode(2);
    link.SetStationAddr(1);
    if (link.OpenSerial(1, 19200, 8, 0, 1) != 1) return -1;
    const unsigned char request[4] = {static_cast<unsigned char>(address >> 8), static_cast<unsigned char>(address), 0, 1};
    unsigned char reply[CPortLink::kBufferSize];
    const bool ok = link.Request(0, 1, 0, 3, request, 4) > 0 && link.Response(0, 1, nullptr, nullptr, reply) == 2;
    link.CloseSerial(1);
    return ok ? reply[0] << 8 | reply[1] : -1;
  }

  std::unique_ptr<DevsimProcess> m_sim;
};

TEST_F(ParamEditor, SearchReadsTheDeviceAndTableEditsAreWrittenOrRefused) {
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    CDocument* drive = FindDocument(app, "AD15");
    CDocument* io = FindDocument(app, "SMX-4041");
    ASSERT_NE(drive, nullptr);
    ASSERT_NE(io, nullptr);
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    // Each tab's window fills the area when its tab is picked, the first opened one too.
    QTabBar* tabs = frame.MdiArea()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    for (int tab : {0, 1, 0}) {
      tabs->setCurrentIndex(tab);
      QCoreApplication::processEvents();
      QMdiSubWindow* active = frame.MdiArea()->activeSubWindow();
      ASSERT_NE(active, nullptr);
      EXPECT_TRUE(active->isMaximized()) << tab;
      EXPECT_EQ(active->size(), frame.MdiArea()->viewport()->size()) << tab;
    }
    QTableWidget* table = EditorTable(drive);
    // 10900 read every parameter.
    EXPECT_EQ(Value(table, 0x0012), "1");
    EXPECT_EQ(Value(table, 0x0013), "21");  // 0x0015
    EXPECT_EQ(Value(table, 0x2000), "5000");
    EXPECT_EQ(Value(table, 0x2001), "100");
    EXPECT_EQ(Value(table, 0x2004), "-200");  // a signed range
    // A device value outside the description's range is shown, marked.
    EXPECT_EQ(Value(table, 0x2002), "40000");
    EXPECT_EQ(table->item(RowOf(table, 0x2002), kValue)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(table->item(RowOf(table, 0x2001), kValue)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(Value(EditorTable(io), 0x4000), "10");
    const auto read = LogLines(frame);
    EXPECT_NE(std::find(read.begin(), read.end(), "AD15: 8 parameters read"), read.end());
    EXPECT_NE(std::find(read.begin(), read.end(), "SMX-4041: 3 parameters read"), read.end());
    // Read-only parameters cannot be edited in the table.
    EXPECT_FALSE(table->item(RowOf(table, 0x0013), kValue)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(table->item(RowOf(table, 0x2001), kValue)->flags() & Qt::ItemIsEditable);

    QPushButton* write = WriteButton(drive);
    ASSERT_NE(write, nullptr);
    EXPECT_FALSE(write->isEnabled());
    Edit(table, 0x2001, "250");
    Edit(table, 0x2002, "0x20");
    EXPECT_TRUE(table->item(RowOf(table, 0x2001), kValue)->font().bold());  // waits to be written
    ASSERT_TRUE(write->isEnabled());
    write->click();
    EXPECT_FALSE(write->isEnabled());
    EXPECT_FALSE(table->item(RowOf(table, 0x2001), kValue)->font().bold());
    EXPECT_EQ(Register(0x2001), 250);
    EXPECT_EQ(Register(0x2002), 0x20);
    EXPECT_EQ(LogLines(frame).back(), "AD15: parameters written");

    // Out of range and not a number: refused with a log line; the table and device keep the value.
    struct Row {
      unsigned address;
      const char* text;
      const char* line;
    } rows[] = {
        {0x2000, "70000", "AD15: refused: Maximum frequency: 70000 is outside 0..60000 0.01 Hz"},
        {0x2004, "-5001", "AD15: refused: Frequency offset: -5001 is outside -5000..5000 0.01 Hz"},
        {0x2000, "fast", "AD15: refused: Maximum frequency: \"fast\" is not a value"},
        {0x2000, "99999999999", "AD15: refused: Maximum frequency: \"99999999999\" is not a value"},
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(row.text);
      const QString before = Value(table, row.address);
      Edit(table, row.address, row.text);
      EXPECT_EQ(LogLines(frame).back(), row.line);
      EXPECT_EQ(Value(table, row.address), before);
      EXPECT_FALSE(write->isEnabled());
    }
    write->click();
    EXPECT_EQ(Register(0x2000), 5000);
    EXPECT_EQ(Register(0x2004), 0xFF38);
  });
}

TEST_F(ParamEditor, AProjectKeepsEachEditorsValuesAndTheyCanBeWrittenAgain) {
  const std::string project = (m_root / "plant.cvn").string();
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    ASSERT_NE(FindDocument(app, "AD15"), nullptr);
    Edit(EditorTable(FindDocument(app, "AD15")), 0x2001, "777");  // kept in the project, not yet written
    Edit(EditorTable(FindDocument(app, "SMX-4041")), 0x4001, "2");
    m_prompts.path = project;
    frame.Project()->SaveProject();  // 10902 to each editor
    frame.Project()->NewProject();
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 0u);

    frame.Project()->PromptAndOpenProjectFile(project);  // opens both again, 10901 to each
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    CDocument* drive = FindDocument(app, "AD15");
    ASSERT_NE(drive, nullptr);
    QTableWidget* table = EditorTable(drive);
    EXPECT_EQ(Value(table, 0x2000), "5000");
    EXPECT_EQ(Value(table, 0x2001), "777");
    EXPECT_EQ(Value(table, 0x2004), "-200");
    EXPECT_EQ(Value(table, 0x0013), "");  // read-only: the device's, not the project's
    EXPECT_TRUE(table->item(RowOf(table, 0x2001), kValue)->font().bold());
    QTableWidget* ioTable = EditorTable(FindDocument(app, "SMX-4041"));
    EXPECT_EQ(Value(ioTable, 0x4000), "10");
    EXPECT_EQ(Value(ioTable, 0x4001), "2");
    EXPECT_EQ(Value(ioTable, 0x2001), "<no row>");  // each module got its own record

    EXPECT_EQ(Register(0x2001), 100);
    WriteButton(drive)->click();
    EXPECT_EQ(Register(0x2001), 777);
    EXPECT_EQ(Register(0x2000), 5000);
  });
}

TEST_F(ParamEditor, ADeviceThatDoesNotAnswerIsReportedInTheLog) {
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    CDocument* drive = FindDocument(app, "AD15");
    ASSERT_NE(drive, nullptr);
    m_sim->Stop();  // the device goes away; COM7 no longer opens
    drive->OnCmdMsg(cmd::ID_MODULE_AFTER_SEARCH, nullptr);
    const auto lines = LogLines(frame);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "AD15: the link could not be opened");
    ASSERT_FALSE(m_prompts.shown.empty());
    EXPECT_EQ(m_prompts.shown.back(), "Cannot open the specified communication!");
  });
}


// The same over Modbus TCP: an IP search finds the drive (discovery at 127.0.0.53, the device at
// 127.0.0.54 port 502); each editor reads and writes the device it was found on.
class ParamEditorEthernet : public ModuleTestEnv {
protected:
  void SetUp() override {
    ModuleTestEnv::SetUp();
    if (::geteuid() != 0) GTEST_SKIP() << "Modbus TCP keeps port 502, which needs root";
    WriteSettings("CommType=1\nIPAddress=7F000035\nModbusMode=1\n");
    m_sim = std::make_unique<DevsimProcess>();
    ASSERT_TRUE(m_sim->Start({"--no-pty", "--udp-bind", "127.0.0.53", "--tcp-port", "502", "--device",
                              "code=0x0015 station=1 ip=127.0.0.54 sub=0x4041 reg=0x2000:4321,0x4000:7"},
                             (m_root / "data").string()))
        << m_sim->ReadyLine();
  }
  void TearDown() override {
    if (m_sim) m_sim->Stop();
    ModuleTestEnv::TearDown();
  }
  static int Register(unsigned address) {
    CPortLink link;
    const int conn = link.GetSocketConnNum();
    if (link.OpenSocket(conn, 1, static_cast<int>(htonl(0x7F000036)), 502, 10) != conn) return -1;
    link.SetStationAddr(1);
    const unsigned char request[4] = {static_cast<unsigned char>(address >> 8), static_cast<unsigned char>(address), 0, 1};
    unsigned char reply[CPortLink::kBufferSize];
    const bool ok = link.Request(1, conn, 0, 3, request, 4) > 0 && link.Response(1, conn, nullptr, nullptr, reply) == 2;
    link.CloseSocket(conn);
    return ok ? reply[0] << 8 | reply[1] : -1;
  }
  std::unique_ptr<DevsimProcess> m_sim;
};

TEST_F(ParamEditorEthernet, AnIpSearchOpensEditorsThatReadAndWriteTheirDevice) {
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_IP_SEARCH);
    CDocument* drive = FindDocument(app, "AD15");
    CDocument* io = FindDocument(app, "SMX-4041");
    ASSERT_NE(drive, nullptr);
    ASSERT_NE(io, nullptr);
    QTableWidget* table = EditorTable(drive);
    EXPECT_EQ(Value(table, 0x2000), "4321");
    EXPECT_EQ(Value(table, 0x0013), "21");
    EXPECT_EQ(Value(EditorTable(io), 0x4000), "7");  // the sub-module, on the one device heard
    Edit(table, 0x2000, "1234");
    WriteButton(drive)->click();
    EXPECT_EQ(Register(0x2000), 1234);
    EXPECT_TRUE(m_prompts.shown.empty()) << m_prompts.shown.front();
  });
}

using ShippedEditorProject = ModuleTestEnv;

TEST_F(ShippedEditorProject, TheCardTitledQcxEnt0102IsSavedAndLoadedLikeTheOthers) {
  const std::string project = (m_root / "card.cvn").string();
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.Services()->Conf().CommType = 0;
    ASSERT_TRUE(app.OpenModule("0022"));
    ASSERT_TRUE(app.OpenModule("0015"));
    Edit(EditorTable(FindDocument(app, "QCX-ENT01/02")), 0xC002, "1502");
    Edit(EditorTable(FindDocument(app, "AD15")), 0x2001, "30");
    m_prompts.path = project;
    frame.Project()->SaveProject();
    frame.Project()->NewProject();
    frame.Project()->PromptAndOpenProjectFile(project);
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    CDocument* card = FindDocument(app, "QCX-ENT01/02");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(Value(EditorTable(card), 0xC002), "1502");
    EXPECT_EQ(Value(EditorTable(FindDocument(app, "AD15")), 0x2001), "30");
    EXPECT_TRUE(m_prompts.shown.empty());
  });
}

}  // namespace
}  // namespace corvane
