// The real frame, offscreen, with real modules and corvane-devsim as the device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <fstream>
#include <sstream>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CProjectCommands.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CNewTypeDlg.h"
#include "platform/IPrompts.h"
#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/COutputLogModel.h"

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

#include "comm/ui/CCommSetDlg.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/RunCorvaneApp.h"
#include "tests/devsim/DevsimProcess.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class FrameEndToEnd : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-e2e-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "bin" / "Config");
    fs::create_directories(m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config");
    fs::create_directories(m_root / "home");
    fs::create_directories(m_root / "run");
    setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_root / "home").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (m_root / "run").c_str(), 1);
    setenv("CORVANE_TEST_RECORD", (m_root / "record.txt").c_str(), 1);
    fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", m_root / "bin" / "libBusLink.so");
    for (const char* m : {"moda", "modb"})
      fs::create_symlink(fs::path(TEST_MODULE_DIR) / (std::string(m) + ".so"), m_root / "bin" / (std::string(m) + ".so"));
    std::ofstream(m_root / "bin" / "Config" / "Modules.ini")
        << "[ModuleCode]\n0015=Yes,Yes,ModA,Ethernet,ModA.so\n4041=Yes,Yes,ModB,Communication Card,ModB.so\n";
    SetPrompts(&m_prompts);
  }
  void TearDown() override {
    SetPrompts(nullptr);
    if (m_sim) m_sim->Stop();  // SIGTERM: it takes its COM5 entry back
    fs::remove_all(m_root);
  }

  void WriteSettings(const std::string& commConf) {
    std::ofstream(m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config" / "CVN.ini")
        << "[CommConf]\n" << commConf;
  }

  // The simulator with its pty registered as COM5.
  void StartSerialDevice(const std::string& device) {
    StartSimulator({"--no-tcp", "--no-udp", "--com", "5", "--device", device});
  }

  void StartSimulator(const std::vector<std::string>& options) {
    m_sim = std::make_unique<DevsimProcess>();
    ASSERT_TRUE(m_sim->Start(options, (m_root / "data").string())) << m_sim->ReadyLine();
  }

  template <typename Body>
  void RunApp(Body body, const std::string& arguments = {}) {
    std::vector<std::string> args;
    if (!arguments.empty()) args.push_back(arguments);
    test::RunCorvaneApp((m_root / "bin" / "corvane").string(), args,
                        [&](CCorvaneApp& app) { body(app, *app.GetMainFrame()); });
  }

  std::string RecordText() const {
    std::ifstream in(m_root / "record.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path m_root;
  test::ScriptedPrompts m_prompts;
  std::unique_ptr<DevsimProcess> m_sim;
};

TEST_F(FrameEndToEnd, SerialSearchOpensTheModulesHeardAndNotifiesThem) {
  StartSerialDevice("code=0x0015 station=1 sub=0x4041");
  WriteSettings("CommType=0\nComPortNum=5\nBaudRate=19200\nModbusMode=1\nDataLen=8\nParity=2\nStopBits=1\n");
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    EXPECT_TRUE(frame.OnCommand(cmd::ID_SEARCH_MODULE));
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    EXPECT_EQ(frame.DeviceTree()->EthernetItem()->childCount(), 1);
    EXPECT_EQ(frame.DeviceTree()->CardItem()->childCount(), 1);
    const std::string record = RecordText();
    EXPECT_NE(record.find("ModA 10900"), std::string::npos) << record;
    EXPECT_NE(record.find("ModB 10900"), std::string::npos) << record;
    EXPECT_EQ(record.find("10903"), std::string::npos);  // no link preset
    EXPECT_TRUE(m_prompts.shown.empty());
    // The search stored the broadcast target.
    EXPECT_EQ(frame.Services()->Conf().IPAddress, -1);
  });
}

TEST_F(FrameEndToEnd, SearchWithoutAnswerWritesOneNotFoundLine) {
  WriteSettings("CommType=0\nComPortNum=6\n");  // nothing on COM6
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 0u);
    const COutputLogModel* log = frame.Output()->Model();
    ASSERT_GE(log->LineCount(), 1u);
    EXPECT_EQ(log->LineText(log->LineCount() - 1), "Device not found! Please check the device connection.");
  });
}

// "Cannot open the specified communication!" keeps its text and carries the reason the output log
// names, for the link's open and for the discovery request's.
TEST_F(FrameEndToEnd, FailedPortBoxesCarryTheReasonOfTheLog) {
  WriteSettings("CommType=0\nComPortNum=6\n");  // nothing on COM6
  RunApp([&](CCorvaneApp&, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    const COutputLogModel* log = frame.Output()->Model();
    ASSERT_GE(log->LineCount(), 2u);
    const std::string reason = log->LineText(0);
    EXPECT_NE(reason.find("COM6"), std::string::npos) << reason;
    ASSERT_EQ(m_prompts.shown.size(), 2u);
    for (std::size_t i = 0; i < m_prompts.shown.size(); ++i) {
      EXPECT_EQ(m_prompts.shown[i], "Cannot open the specified communication!");
      EXPECT_EQ(m_prompts.details[i], reason);
    }
  });
}

// Ctrl+O (the framework's Open) asks for a project file, as the project's own Open does.
TEST_F(FrameEndToEnd, CtrlOOffersProjectFiles) {
  WriteSettings("CommType=0\nComPortNum=6\n");
  RunApp([&](CCorvaneApp&, CMainFrame& frame) {
    EXPECT_TRUE(frame.OnCommand(cmd::ID_FILE_OPEN));
    EXPECT_EQ(m_prompts.lastRequest.filter, "Corvane Project File (*.cvn)|*.cvn||");
    EXPECT_EQ(m_prompts.lastRequest.defaultExt, ".cvn");
  });
}

TEST_F(FrameEndToEnd, ProjectSaveThenLoadHandsEachModuleItsData) {
  StartSerialDevice("code=0x0015 station=1 sub=0x4041");
  WriteSettings("CommType=0\nComPortNum=5\nBaudRate=19200\nModbusMode=1\nDataLen=8\nParity=2\nStopBits=1\n");
  const std::string project = (m_root / "plant.cvn").string();
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    m_prompts.path = project;
    frame.Project()->SaveProject();
    ASSERT_TRUE(fs::exists(project));
    m_prompts.answer = IDNO;  // "Save changes to file?" No: close, then load
    frame.Project()->PromptAndOpenProjectFile(project);
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    EXPECT_EQ(m_prompts.shown.back(), "Save changes to file?");
    const std::string record = RecordText();
    EXPECT_NE(record.find("ModA 10902"), std::string::npos);
    EXPECT_NE(record.find("ModA 10901"), std::string::npos);
    EXPECT_NE(record.find("ModB 10901"), std::string::npos);

    // A damaged file: message 516 and nothing opened.
    std::string bytes;
    {
      std::ifstream in(project, std::ios::binary);
      std::stringstream s;
      s << in.rdbuf();
      bytes = s.str();
    }
    bytes[14] ^= 0x01;
    std::ofstream(project, std::ios::binary | std::ios::trunc) << bytes;
    frame.Project()->NewProject();
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 0u);
    frame.Project()->OpenProjectFile(project);
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 0u);
    ASSERT_FALSE(m_prompts.shown.empty());
    EXPECT_EQ(m_prompts.shown.back(), "The file is invalid! The project file has been modified!");
  });
}

// The File menu's recent projects, as a user opens the menu and picks one.
QAction* RecentEntry(CMainFrame& frame, int index) {
  for (QAction* top : frame.menuBar()->actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    emit menu->aboutToShow();
    int seen = 0;
    for (QAction* a : menu->actions()) {
      const unsigned id = a->data().toUInt();
      if (id >= cmd::ID_FILE_MRU_FILE1 && id <= cmd::ID_FILE_MRU_LAST && seen++ == index) return a;
    }
  }
  return nullptr;
}

TEST_F(FrameEndToEnd, RecentFileListOpensSavedProjectsAndForgetsMissingOnes) {
  StartSerialDevice("code=0x0015 station=1 sub=0x4041");
  WriteSettings("CommType=0\nComPortNum=5\nBaudRate=19200\nModbusMode=1\nDataLen=8\nParity=2\nStopBits=1\n");
  const std::string first = (m_root / "first.cvn").string();
  const std::string plant = (m_root / "plant & line.cvn").string();
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    QAction* empty = RecentEntry(frame, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->text(), "Recent File");
    EXPECT_FALSE(empty->isEnabled());

    frame.Project()->SaveProject();  // no path chosen: nothing saved, nothing listed
    EXPECT_TRUE(app.RecentFiles().empty());
    m_prompts.path = first;
    frame.Project()->SaveProject();  // an empty project
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    m_prompts.path = plant;
    frame.Project()->SaveProject();
    EXPECT_EQ(app.RecentFiles(), (std::vector<std::string>{plant, first}));
  });
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    QAction* newest = RecentEntry(frame, 0);
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->text(), "&1 plant && line.cvn");
    EXPECT_EQ(newest->statusTip().toStdString(), plant);
    ASSERT_NE(RecentEntry(frame, 1), nullptr);
    EXPECT_EQ(RecentEntry(frame, 1)->text(), "&2 first.cvn");
    EXPECT_EQ(RecentEntry(frame, 2), nullptr);

    ASSERT_TRUE(newest->isEnabled());
    newest->trigger();
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);

    // A project deleted since: a message naming it, and the entry goes.
    fs::remove(first);
    m_prompts.answer = IDNO;
    QAction* gone = RecentEntry(frame, 1);
    ASSERT_NE(gone, nullptr);
    gone->trigger();
    ASSERT_FALSE(m_prompts.shown.empty());
    EXPECT_NE(m_prompts.shown.back().find(first), std::string::npos) << m_prompts.shown.back();
    EXPECT_EQ(app.RecentFiles(), (std::vector<std::string>{plant}));
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);  // what was open stays
  });
}

TEST_F(FrameEndToEnd, CtrlOOpensAProjectAndCtrlNANewDocumentThroughTheFrameworkDefaults) {
  StartSerialDevice("code=0x0015 station=1 sub=0x4041");
  WriteSettings("CommType=0\nComPortNum=5\nBaudRate=19200\nModbusMode=1\nDataLen=8\nParity=2\nStopBits=1\n");
  const std::string project = (m_root / "line.cvn").string();
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    m_prompts.path = project;
    frame.Project()->SaveProject();
    frame.Project()->NewProject();
    ASSERT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 0u);

    EXPECT_TRUE(frame.OnCommand(cmd::ID_FILE_OPEN));
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    EXPECT_EQ(std::vector<std::string>(app.m_aOpenModuleCodes.begin(), app.m_aOpenModuleCodes.end()),
              (std::vector<std::string>{"0015", "4041"}));

    frame.Project()->NewProject();
    app.GetDocManager()->NewTypeDialogHook = [](CNewTypeDlg& dlg) {
      EXPECT_EQ(dlg.TypeList()->item(0)->text().toStdString(), "XPC-PLC");
      dlg.TypeList()->setCurrentRow(0);
      return int(QDialog::Accepted);
    };
    EXPECT_TRUE(frame.OnCommand(cmd::ID_FILE_NEW));
    ASSERT_EQ(app.GetDocManager()->GetTemplate(0)->GetDocumentCount(), 1u);
    EXPECT_EQ(frame.CurrentMenuId(), 134u);
  });
}

TEST_F(FrameEndToEnd, IpSearchOpensTheDeviceAndItsCardsAndABroadcastSearchDisablesIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "the sub-module query uses Modbus TCP port 502, which needs root";
  StartSimulator({"--no-pty", "--udp-bind", "127.0.0.61", "--tcp-port", "502", "--device",
                  "code=0x0015 station=1 ip=127.0.0.61 sub=0x0001,0x4041"});
  WriteSettings("CommType=1\nIPAddress=7F00003D\n");
  RunApp([&](CCorvaneApp& app, CMainFrame& frame) {
    auto ipSearchEnabled = [&frame] {
      frame.UpdateCommandUI();
      return frame.CommandAction(cmd::ID_IP_SEARCH)->isEnabled();
    };
    ASSERT_TRUE(ipSearchEnabled());
    frame.OnCommand(cmd::ID_IP_SEARCH);
    EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 2u);
    EXPECT_EQ(std::vector<std::string>(app.m_aOpenModuleCodes.begin(), app.m_aOpenModuleCodes.end()),
              (std::vector<std::string>{"0015", "4041"}));
    const std::string record = RecordText();
    EXPECT_NE(record.find("ModA 10900"), std::string::npos) << record;
    EXPECT_NE(record.find("ModB 10900"), std::string::npos) << record;
    EXPECT_FALSE(ipSearchEnabled());  // modules are open

    frame.Project()->NewProject();
    EXPECT_TRUE(ipSearchEnabled());
    // A module search sets the address to broadcast, and it stays so after the search. (Run on
    // the serial link here: a broadcast on Ethernet would leave this machine.)
    frame.Services()->Conf().CommType = 0;
    frame.OnCommand(cmd::ID_SEARCH_MODULE);
    frame.Services()->Conf().CommType = 1;
    EXPECT_EQ(frame.Services()->Conf().IPAddress, -1);
    EXPECT_FALSE(ipSearchEnabled());
  });
}

TEST_F(FrameEndToEnd, StartWithALinkPresetOpensTheModuleAndTellsIt) {
  WriteSettings("CommType=1\nComPortNum=2\nIPAddress=A000001\n");
  RunApp(
      [&](CCorvaneApp& app, CMainFrame& frame) {
        EXPECT_TRUE(frame.m_bLinkPreset);
        EXPECT_EQ(frame.Services()->Conf().CommType, 0);
        EXPECT_EQ(frame.Services()->Conf().ComPortNum, 5);
        EXPECT_EQ(app.GetDocManager()->GetOpenDocumentCount(), 1u);
        const std::string record = RecordText();
        const auto preset = record.find("ModA 10903");
        const auto done = record.find("ModA 10900");
        ASSERT_NE(preset, std::string::npos) << record;
        ASSERT_NE(done, std::string::npos) << record;
        EXPECT_LT(preset, done);
      },
      "1033 0 0 5 0015");
}

TEST_F(FrameEndToEnd, CommSettingOkPushesTheRecordAndCancelOnlySavesIt) {
  WriteSettings("CommType=0\nComPortNum=3\n");
  const fs::path ini = m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config" / "CVN.ini";
  RunApp([&](CCorvaneApp&, CMainFrame& frame) {
    CLinkManager& link = frame.Services()->Link();
    link.EnumAdapters = [](std::vector<std::string>& names, std::vector<std::string>& ips) {
      names = {"Test Ethernet Adapter"};
      ips = {"127.0.0.1"};
    };
    ASSERT_NE(link.Bus().GetCommType, nullptr);
    auto chooseEthernet = [](comm::CCommSetDlg& dlg) {
      auto* type = dlg.findChild<QComboBox*>("11100");
      type->setCurrentIndex(1);
      emit type->activated(1);
    };

    // Cancel: nothing reaches the libraries, the record is still written.
    fs::remove(ini);
    frame.CommSetDialogHook = [&](comm::CCommSetDlg& dlg) {
      chooseEthernet(dlg);
      dlg.reject();
      return dlg.result();
    };
    frame.OnCmdMsg(cmd::ID_COMM_SETTING, nullptr);
    EXPECT_EQ(frame.Services()->Conf().CommType, 0);
    EXPECT_EQ(link.Bus().GetCommType(), 0);
    ASSERT_TRUE(fs::exists(ini));

    frame.CommSetDialogHook = [&](comm::CCommSetDlg& dlg) {
      chooseEthernet(dlg);
      dlg.accept();
      return dlg.result();
    };
    frame.OnCmdMsg(cmd::ID_COMM_SETTING, nullptr);
    EXPECT_EQ(frame.Services()->Conf().CommType, 1);
    EXPECT_EQ(link.Bus().GetCommType(), 1);
    EXPECT_EQ(frame.LinkSettings().CommType, 1);  // the status panes follow
    std::ifstream in(ini);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("CommType=1"), std::string::npos) << text.str();
  });
}

}  // namespace
}  // namespace corvane
