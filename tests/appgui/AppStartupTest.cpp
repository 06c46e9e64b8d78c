// The application object driven in-process, offscreen: start-up, link preset, language
// restore at exit and the help commands.
#include <gtest/gtest.h>

#include "platform/IPrompts.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QSplashScreen>
#include <QTimer>

#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "framework/CommandIds.h"
#include "framework/ui/CResourceIcons.h"
#include "platform/CProfileStore.h"
#include "platform/CShell.h"
#include "project/CProjectWriter.h"
#include "resources/CStringTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/RunCorvaneApp.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class RecordingStarter : public platform::IProcessStarter {
public:
  int Start(const std::string& program, const std::vector<std::string>& args,
            const std::string& folder) override {
    starts.push_back({program, args, folder});
    return 0;
  }
  struct Call { std::string program; std::vector<std::string> args; std::string folder; };
  std::vector<Call> starts;
};

class AppStartup : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("cvn-app-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "bin" / "Config");
    fs::create_directories(m_root / "data");
    fs::create_directories(m_root / "home");
    setenv("PROGRAMDATA", (m_root / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (m_root / "home").c_str(), 1);
    m_exe = (m_root / "bin" / "corvane").string();
    fs::create_symlink(CORVANE_BIN_DIR "/libBusLink.so", m_root / "bin" / "libBusLink.so");
    platform::SetProcessStarter(&m_starter);
    SetPrompts(&m_prompts);  // no real message box may wait for a user here
  }
  void TearDown() override {
    SetPrompts(nullptr);
    platform::SetProcessStarter(nullptr);
    fs::remove_all(m_root);
  }

  // Runs start-up with the given arguments, then the body, then the shutdown.
  template <typename Body>
  void RunApp(std::vector<std::string> args, Body body) {
    test::RunCorvaneApp(m_exe, std::move(args), body);
  }

  // The single-instance files in a folder of this test's own.
  void UseOwnRuntimeFolder() {
    const fs::path runtime = m_root / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  }
  // The first copy, in this process: start-up without the splash, single instance on.
  struct FirstCopy {
    explicit FirstCopy(std::string program) : exe(std::move(program)), argv{exe.data(), nullptr} {
      app = std::make_unique<CCorvaneApp>(argc, argv);
      app->SetSplashEnabled(false);
    }
    std::string exe;
    char* argv[2];
    int argc = 1;
    std::unique_ptr<CCorvaneApp> app;
  };

  // The built program itself, offscreen, in this test's folders.
  static void StartRealProgram(QProcess& process, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(CORVANE_BIN_DIR "/corvane"), args);
  }

  fs::path m_root;
  test::ScriptedPrompts m_prompts;
  std::string m_exe;
  RecordingStarter m_starter;
};

TEST_F(AppStartup, PathsFollowTheExecutableFolderAndTheAllUsersFolder) {
  RunApp({}, [&](CCorvaneApp& app) {
    EXPECT_EQ(app.m_strAppPath, (m_root / "bin").string() + "/");
    EXPECT_EQ(app.m_iniModules.GetPathName(), (m_root / "bin" / "Config" / "Modules.ini").string());
    EXPECT_EQ(app.m_iniSettings.GetPathName(),
              (m_root / "data" / "Zelmar Industrial Automation" / "Communication" / "Corvane" / "Config" /
               "CVN.ini").string());
    ASSERT_NE(app.GetMainFrame(), nullptr);
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
    EXPECT_FALSE(app.GetMainFrame()->m_bLinkPreset);
  });
}

TEST_F(AppStartup, OneRunLanguageIsRestoredAtExit) {
  platform::CProfileStore().WriteProfileInt("", "LanguageID", 2052);
  RunApp({"1028"}, [&](CCorvaneApp& app) {
    EXPECT_EQ(app.m_nLanguageID, 1028);
    EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 1028);
  });
  EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 2052);
}

TEST_F(AppStartup, FiveFieldsSetTheLinkPreset) {
  RunApp({"1033 0 1 192.168.1.5 00060000FF000003"}, [&](CCorvaneApp& app) {
    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->m_bLinkPreset);
    EXPECT_EQ(frame->LinkSettings().CommType, 1);
    EXPECT_EQ(frame->LinkSettings().IPAddress, 0xC0A80105u);
  });
}

TEST_F(AppStartup, FourFieldsTakeOnlyTheLanguage) {
  RunApp({"1041 0 1 192.168.1.5"}, [&](CCorvaneApp& app) {
    EXPECT_EQ(app.m_nLanguageID, 1041);
    EXPECT_FALSE(app.GetMainFrame()->m_bLinkPreset);
  });
}

TEST_F(AppStartup, HelpDocumentsOpenByLanguageAndMissingOnesAreSilent) {
  fs::create_directories(m_root / "Help");
  std::ofstream(m_root / "Help" / "Corvane_CHT.chm") << "help";
  RunApp({"1028"}, [&](CCorvaneApp& app) {
    app.OnHelpManual();
    ASSERT_EQ(m_starter.starts.size(), 1u);
    EXPECT_EQ(m_starter.starts[0].program, "xdg-open");
    EXPECT_EQ(fs::weakly_canonical(m_starter.starts[0].args.back()),
              fs::weakly_canonical(m_root / "Help" / "Corvane_CHT.chm"));
    EXPECT_EQ(m_starter.starts[0].folder, (m_root / "bin").string() + "/");
    app.OnHelpHistory();  // no such document: nothing starts, nothing is shown
    EXPECT_EQ(m_starter.starts.size(), 1u);
  });
}

TEST_F(AppStartup, AboutBoxShowsTheTextsOfAboutIni) {
  std::ofstream(m_root / "bin" / "Config" / "About.ini")
      << "[AboutDlg]\nversion=Corvane 9.87\ncopyright=Copyright (C) 2026 Zelmar\n";
  RunApp({}, [&](CCorvaneApp& app) {
    QString title, version, copyright, link;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dlg) return;
      title = dlg->windowTitle();
      if (auto* l = dlg->findChild<QLabel*>("11250")) version = l->text();
      if (auto* l = dlg->findChild<QLabel*>("11251")) copyright = l->text();
      if (auto* l = dlg->findChild<QLabel*>("11252")) link = l->text();
      dlg->accept();
    });
    ASSERT_TRUE(app.GetMainFrame()->OnCommand(cmd::ID_APP_ABOUT));
    EXPECT_EQ(title, "About Corvane");
    EXPECT_EQ(version, "Corvane 9.87");
    EXPECT_EQ(copyright, "Copyright (C) 2026 Zelmar");
    EXPECT_FALSE(link.isEmpty());
  });
}

// What a start-up with the splash enabled showed: splash pictures seen and when.
struct SplashSeen {
  bool seen = false;
  QImage picture, bitmap204;
  qint64 first = -1, last = -1, total = 0;
};

SplashSeen StartWithSplash(const std::string& exe, std::vector<std::string> args,
                           const std::function<void(CCorvaneApp&)>& body = {}) {
  args.insert(args.begin(), exe);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(args.size());
  SplashSeen out;
  CCorvaneApp app(argc, argv.data());
  app.SetSingleInstanceEnabled(false);
  QElapsedTimer clock;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* splash = qobject_cast<QSplashScreen*>(w);
      if (!splash || !splash->isVisible()) continue;
      if (!out.seen) out.first = clock.elapsed();
      out.seen = true;
      out.last = clock.elapsed();
      out.picture = splash->pixmap().toImage();
    }
  });
  probe.start(20);
  clock.start();
  EXPECT_TRUE(app.InitInstance());
  out.total = clock.elapsed();
  probe.stop();
  out.bitmap204 = LoadBitmap(204).toImage();
  if (body) body(app);
  delete app.GetMainFrame();
  app.ExitInstance(0);
  return out;
}

TEST_F(AppStartup, SplashPicture204OnlyWithoutFields) {
  const SplashSeen none = StartWithSplash(m_exe, {"1033"});
  EXPECT_FALSE(none.seen);

  const SplashSeen shown = StartWithSplash(m_exe, {});
  ASSERT_TRUE(shown.seen);
  EXPECT_FALSE(shown.bitmap204.isNull());
  EXPECT_EQ(shown.picture, shown.bitmap204);
  // One second up, one more without it (coarse timers may fire up to 5 % early; the probe
  // sees the splash a little after it appears and a little before it goes).
  EXPECT_GE(shown.last - shown.first, 500) << "the splash stays up for about one second";
  EXPECT_GE(shown.total - shown.last, 900) << "then one more second passes without it";
  EXPECT_GE(shown.total, 1900);
}

// Two real processes: this one is the first copy, the second is the program itself.
TEST_F(AppStartup, SecondStartBringsTheFirstWindowBackAndEndsWithoutItsOwn) {
  UseOwnRuntimeFolder();
  platform::CProfileStore().WriteProfileInt("", "LanguageID", 2052);

  FirstCopy first(m_exe);
  CCorvaneApp& app = *first.app;
  ASSERT_TRUE(app.InitInstance());
  CMainFrame* frame = app.GetMainFrame();
  ASSERT_NE(frame, nullptr);
  frame->showMaximized();
  frame->showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(frame->isMinimized());

  QProcess second;
  StartRealProgram(second, {"1028"});
  ASSERT_TRUE(second.waitForStarted(10000));
  QElapsedTimer clock;
  clock.start();
  while (second.state() != QProcess::NotRunning && clock.elapsed() < 20000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    second.waitForFinished(20);
  }
  const bool ended = second.state() == QProcess::NotRunning;
  if (!ended) second.kill();
  second.waitForFinished(5000);
  EXPECT_TRUE(ended) << "the second copy kept running";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  // The activation may arrive just after the second copy has gone.
  for (clock.restart(); frame->isMinimized() && clock.elapsed() < 5000;)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_FALSE(frame->isMinimized());
  EXPECT_TRUE(frame->isMaximized());
  EXPECT_TRUE(frame->isVisible());
  // The second copy ended before it took its language from the command line.
  EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 2052);

  delete frame;
  app.ExitInstance(0);
}

// A double click on a project: the desktop entry hands the path over as the sole argument. It
// opens through the framework's entry for files, the stored language stays, and no splash
// holds it back.
TEST_F(AppStartup, ProjectHandedOverAsAPathOpensWithTheStoredLanguage) {
  platform::CProfileStore().WriteProfileInt("", "LanguageID", 2052);
  fs::create_directories(m_root / "Plant A");
  const std::string absolute = (m_root / "Plant A" / "line 1.cvn").string();
  ASSERT_TRUE(CProjectWriter().Save(absolute).Ok());
  ASSERT_TRUE(CProjectWriter().Save((m_root / "plant.CVN").string()).Ok());
  const fs::path cwd = fs::current_path();
  fs::current_path(m_root);
  for (const std::string& path : {absolute, std::string("plant.CVN")}) {
    SCOPED_TRACE(path);
    const SplashSeen seen = StartWithSplash(m_exe, {path}, [&](CCorvaneApp& app) {
      EXPECT_EQ(app.m_nLanguageID, 2052);
      ASSERT_FALSE(app.RecentFiles().empty()) << "the project did not open";
      EXPECT_EQ(app.RecentFiles().front(), path);
    });
    EXPECT_FALSE(seen.seen);
    EXPECT_TRUE(m_prompts.shown.empty()) << m_prompts.shown.front();
    EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 2052);
  }
  // A damaged project says so, as any project load does.
  std::ofstream(m_root / "damaged.cvn", std::ios::binary) << "not a project";
  RunApp({(m_root / "damaged.cvn").string()}, [&](CCorvaneApp&) {
    ASSERT_EQ(m_prompts.shown.size(), 1u);
    EXPECT_EQ(m_prompts.shown[0], LoadString(516));
  });
  fs::current_path(cwd);
}

// A double click while the program runs: the second start hands its project (relative to its
// own working folder) to the first copy, which comes to the front and opens it.
TEST_F(AppStartup, SecondStartHandsItsProjectToTheFirstCopy) {
  UseOwnRuntimeFolder();
  ASSERT_TRUE(CProjectWriter().Save((m_root / "handed.cvn").string()).Ok());
  FirstCopy first(m_exe);
  CCorvaneApp& app = *first.app;
  ASSERT_TRUE(app.InitInstance());
  CMainFrame* frame = app.GetMainFrame();
  ASSERT_NE(frame, nullptr);
  frame->showMinimized();

  QProcess second;
  second.setWorkingDirectory(QString::fromStdString(m_root.string()));
  StartRealProgram(second, {"handed.cvn"});
  ASSERT_TRUE(second.waitForStarted(10000));
  QElapsedTimer clock;
  clock.start();
  while ((second.state() != QProcess::NotRunning || app.RecentFiles().empty()) && clock.elapsed() < 20000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
    second.waitForFinished(20);
  }
  EXPECT_EQ(second.state(), QProcess::NotRunning) << "the second copy kept running";
  if (second.state() != QProcess::NotRunning) second.kill();
  second.waitForFinished(5000);
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  ASSERT_FALSE(app.RecentFiles().empty()) << "the first copy did not open the project";
  EXPECT_EQ(app.RecentFiles().front(), (m_root / "handed.cvn").string());
  EXPECT_FALSE(frame->isMinimized());
  EXPECT_TRUE(m_prompts.shown.empty());

  delete frame;
  app.ExitInstance(0);
}

// --help and --version print and end, with no display and no window.
TEST_F(AppStartup, HelpAndVersionPrintWithoutADisplay) {
  for (const QString& option : {QStringLiteral("--version"), QStringLiteral("--help")}) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(env);
    program.start(QString::fromUtf8(CORVANE_BIN_DIR "/corvane"), {option});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_TRUE(out == "Corvane 1.23\n" || out.startsWith("Usage: corvane")) << out.toStdString();
  }
}

// The window icon is the desktop icon, in the sizes a window manager asks for.
TEST_F(AppStartup, WindowsCarryTheApplicationIcon) {
  RunApp({"1033"}, [&](CCorvaneApp& app) {
    const QList<QSize> sizes = app.windowIcon().availableSizes();
    for (int size : {16, 24, 32, 48, 64}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_FALSE(app.GetMainFrame()->windowIcon().pixmap(32).isNull());
    EXPECT_EQ(app.desktopFileName(), "com.zelmar.Corvane");
  });
}

// True once the process has its own handler for the signal (its mask in /proc).
bool CatchesSignal(qint64 pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1u;
  }
  return false;
}

// The real program, ended by SIGTERM: it closes its window and runs the shutdown, so the
// language of this run gives way to the stored one again.
TEST_F(AppStartup, TerminationSignalRunsTheShutdown) {
  UseOwnRuntimeFolder();
  platform::CProfileStore().WriteProfileInt("", "LanguageID", 2052);

  QProcess program;
  StartRealProgram(program, {"1028"});
  ASSERT_TRUE(program.waitForStarted(10000));
  QElapsedTimer clock;
  clock.start();
  while (!CatchesSignal(program.processId(), SIGTERM) && clock.elapsed() < 20000 &&
         program.state() == QProcess::Running)
    program.waitForFinished(20);
  ASSERT_TRUE(CatchesSignal(program.processId(), SIGTERM)) << program.readAllStandardError().toStdString();
  EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 1028);

  program.terminate();
  const bool ended = program.waitForFinished(20000);
  if (!ended) program.kill();
  ASSERT_TRUE(ended) << "SIGTERM did not end the program";
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_EQ(platform::CProfileStore().GetProfileInt("", "LanguageID", 0), 2052);
}

// As the program runs: the user closes the main window, the event loop ends, the shutdown runs.
TEST_F(AppStartup, ClosedFrameIsGoneBeforeTheShutdownDeletesTheTemplates) {
  std::string exe = m_exe;
  char* argv[] = {exe.data(), nullptr};
  int argc = 1;
  CCorvaneApp app(argc, argv);
  app.SetSplashEnabled(false);
  app.SetSingleInstanceEnabled(false);
  ASSERT_TRUE(app.InitInstance());
  bool destroyed = false, templatesThen = false;
  QObject::connect(app.GetMainFrame(), &QObject::destroyed, [&] {
    destroyed = true;
    templatesThen = app.GetDocManager() != nullptr;
  });
  QTimer::singleShot(0, app.GetMainFrame(), &QWidget::close);
  QTimer::singleShot(20000, &app, &QCoreApplication::quit);  // only if closing did not end the loop
  app.ExitInstance(app.exec());
  EXPECT_TRUE(destroyed);
  EXPECT_TRUE(templatesThen);
  EXPECT_EQ(app.GetDocManager(), nullptr);
}

}  // namespace
}  // namespace corvane
