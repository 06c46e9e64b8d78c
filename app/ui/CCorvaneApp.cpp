#include "app/ui/CCorvaneApp.h"

#include <unistd.h>

#include <filesystem>

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QSplashScreen>
#include <QThread>
#include <QTimer>

#include "app/CAppConfig.h"
#include "app/CCommandLine.h"
#include "app/CModuleCatalogue.h"
#include "app/CRunLanguage.h"
#include "app/CSettingsFolderCheck.h"
#include "app/CStartRequest.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ApplicationIcon.h"
#include "app/ui/CQtSatellites.h"
#include "app/ui/SettingsFolderNotice.h"
#include "framework/CommandIds.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "platform/CAppFolders.h"
#include "platform/CLocaleTable.h"
#include "platform/CRegStore.h"
#include "platform/CSerialPortMap.h"
#include "platform/CShell.h"
#include "platform/CSingleInstance.h"
#include "platform/CTerminationSignals.h"
#include "framework/ui/CResourceIcons.h"
#include "resources/CStringTable.h"
#include "widgets/ui/CQtPrompts.h"
#include "platform/IPrompts.h"
#include "discovery/ui/CDeviceTreeWnd.h"


namespace corvane {
namespace {

// argv[0] as the process was started, or the running image when it carries no folder
// (started through PATH), so that the executable folder is where the program lies.
std::vector<std::string> ProgramArgv(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (!args.empty() && args[0].find('/') == std::string::npos) {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n > 0) args[0].assign(buffer, static_cast<std::size_t>(n));
  }
  return args;
}

// Waits while the event loop keeps painting.
void WaitPainting(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

CCorvaneApp::CCorvaneApp(int& argc, char** argv)
    : QApplication(argc, argv), m_moduleLibs(kModuleSdkVersion), m_argv(ProgramArgv(argc, argv)) {
  setApplicationName("Corvane");
  setWindowIcon(ApplicationIcon());
  // Desktops match the windows to the desktop entry by this name.
  setDesktopFileName(QStringLiteral("com.zelmar.Corvane"));
  // Message boxes and file dialogs are real unless a test installed its own seam first.
  static CQtPrompts qtPrompts;
  if (!PromptsInstalled()) SetPrompts(&qtPrompts);
  for (std::size_t i = 1; i < m_argv.size(); ++i)
    m_strFrameworkArgs += (i > 1 ? " " : "") + m_argv[i];
  MapCommand(cmd::ID_APP_ABOUT, [this] { OnAppAbout(); });
  MapCommand(cmd::ID_HELP_MANUAL, [this] { OnHelpManual(); });
  MapCommand(cmd::ID_HELP_HISTORY, [this] { OnHelpHistory(); });
  MapCommandRange(cmd::ID_FILE_MRU_FILE1, cmd::ID_FILE_MRU_LAST, [this](unsigned id) { OnOpenRecentFile(id); });
  MapUpdateRange(cmd::ID_FILE_MRU_FILE1, cmd::ID_FILE_MRU_LAST, [this](CCmdUI* p) {
    p->Enable(p->GetID() - cmd::ID_FILE_MRU_FILE1 < m_recentFiles.Entries().size());
  });
}

CCorvaneApp::~CCorvaneApp() = default;

CCorvaneApp* CCorvaneApp::Instance() { return qobject_cast<CCorvaneApp*>(QCoreApplication::instance()); }

bool CCorvaneApp::TakeSingleInstance(const std::string& projectPath) {
  if (!m_bSingleInstance) return true;
  m_singleInstance = std::make_unique<platform::CSingleInstance>("Corvane");
  if (!m_singleInstance->Acquire()) {
    // The earlier window comes to the front and opens the project we were given; we end quietly.
    std::error_code error;
    const std::filesystem::path absolute =
        projectPath.empty() ? std::filesystem::path() : std::filesystem::absolute(projectPath, error);
    m_singleInstance->ActivateFirst(absolute.string());
    return false;
  }
  if (m_singleInstance->ListenFd() >= 0) {
    m_pInstanceNotifier = new QSocketNotifier(m_singleInstance->ListenFd(), QSocketNotifier::Read, this);
    connect(m_pInstanceNotifier, &QSocketNotifier::activated, this, [this] {
      const auto request = m_singleInstance->AcceptRequest();
      if (!request) return;
      ActivateMainWindow();
      if (!request->projectPath.empty()) OpenHandedOverProject(request->projectPath);
    });
  }
  return true;
}

void CCorvaneApp::OpenHandedOverProject(const std::string& path) {
  if (!m_pMainFrame) return;
  // A dialog's own loop runs code of the window below it: open once the dialog is gone.
  if (activeModalWidget()) {
    QTimer::singleShot(200, this, [this, path] { OpenHandedOverProject(path); });
    return;
  }
  OpenDocumentFile(path, OpenOrigin::SecondStart);
}

void CCorvaneApp::ReportSettingsFolder() {
  const SettingsFolderAccess access =
      CSettingsFolderCheck::Check(SettingsFolder(platform::CAppFolders::AllUsersFolder()));
  if (access.Writable()) return;
  Prompts().MessageBox(SettingsFolderNotice(access).toStdString(), LoadString(57344), PromptButtons::Ok,
                       PromptIcon::Warning);
}

void CCorvaneApp::CloseOnTerminationSignals() {
  m_terminationSignals = std::make_unique<platform::CTerminationSignals>();
  if (!m_terminationSignals->IsActive()) return;
  auto* notifier = new QSocketNotifier(m_terminationSignals->ReadFd(), QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] {
    while (m_terminationSignals->TakeSignal() != 0) {
    }
    if (m_bClosingOnSignal) return;  // a close already waits for the user's answer
    m_bClosingOnSignal = true;
    CloseMainWindowOnSignal();
  });
}

void CCorvaneApp::CloseMainWindowOnSignal() {
  if (!m_pMainFrame) {
    quit();
    return;
  }
  // A dialog's own loop runs code of the window below it: close once the dialog is gone.
  if (activeModalWidget()) {
    QTimer::singleShot(200, this, [this] { CloseMainWindowOnSignal(); });
    return;
  }
  m_pMainFrame->close();  // modified documents are offered for saving, as on Exit
  m_bClosingOnSignal = false;  // closed, or the user chose to stay
}

void CCorvaneApp::ActivateMainWindow() {
  if (!m_pMainFrame) return;
  // Restored to the state it had before it was minimised (a maximised window stays maximised).
  if (m_pMainFrame->isMinimized()) m_pMainFrame->setWindowState(m_pMainFrame->windowState() & ~Qt::WindowMinimized);
  m_pMainFrame->show();
  m_pMainFrame->raise();
  m_pMainFrame->activateWindow();
}

void CCorvaneApp::ShowSplash() {
  QSplashScreen splash(LoadBitmap(204));
  splash.show();
  splash.repaint();
  WaitPainting(1000);
  splash.close();
  WaitPainting(1000);
}

bool CCorvaneApp::InitInstance() {
  // A project handed over as the sole argument (the desktop entry's start) is no language.
  const StartRequest request = CStartRequest::Classify(m_argv);
  const bool openProject = request.kind == StartRequest::Kind::OpenProject;

  // 1. One copy per user.
  if (!TakeSingleInstance(request.path)) return false;

  // The serial-port list that the setting dialog reads is this machine's port map
  // (a provider a test installed stays).
  if (!platform::CRegStore::HasSerialCommProvider()) platform::CSerialPortMap::InstallAsSystemMap();

  // 2. Executable folder and arguments from the rebuilt command line.
  CCommandLine cmdInfo;
  cmdInfo.SetSeparator(" ");
  cmdInfo.SetAppName(LoadString(57344));
  cmdInfo.SetCommandLine(CCommandLine::FromArgv(m_argv));
  cmdInfo.Parse();
  m_strAppPath = cmdInfo.GetExeFolder();

  // 3. The three settings files.
  const ConfigPaths paths = FormConfigPaths(m_strAppPath, platform::CAppFolders::AllUsersFolder());
  m_iniModules.SetPathName(paths.modules.c_str());
  m_iniSettings.SetPathName(paths.settings.c_str());
  m_iniAbout.SetPathName(paths.about.c_str());

  // 4. The profile store's key.
  m_profile.SetRegistryKey("Zelmar");

  // 5. Splash without fields; otherwise field 1 is this run's language.
  m_runLanguage = std::make_unique<CRunLanguage>(m_profile);
  if (openProject) {
    // The stored language stays; no splash holds the project back.
  } else if (cmdInfo.GetArgCount() == 0) {
    if (m_bSplash) ShowSplash();
  } else {
    CFieldSplitter fields(" ");
    fields.SetString(cmdInfo.GetArgs());
    m_runLanguage->TakeFromField(fields.GetField(0));
  }

  // 6., 7. The run's language, and its satellite before the first window is made.
  InitLanguage();

  // 8. The recent-file list.
  m_recentFiles.ReadList();

  // 9., 10. Document manager and the built-in template.
  m_pDocManager = std::make_unique<CMyDocManager>();
  // Module documents open in the program's child frame, which reports its closing to the frame.
  CMyMultiDocTemplate::SetDefaultFrameFactory([] { return new CChildFrame; });
  m_pDocManager->AddDocTemplate(CMainFrame::CreateBuiltInTemplate());

  // 12., 13. The main frame, shown.
  if (!CreateMainFrame()) return false;

  // 11. One template per module library, numbered after the built-in one. Loaded once the
  // window is up (nothing of the frame needs them before), ahead of any module opening below.
  ScanModuleLibraries();
  RegisterModuleTemplates();
  ReportSettingsFolder();

  // The project of a double click, through the framework's entry for files from outside.
  if (openProject) {
    OpenDocumentFile(request.path, OpenOrigin::Shell);
    return true;
  }

  // 14. A link preset from a calling program.
  if (cmdInfo.GetArgCount() >= 5) {
    CFieldSplitter fields(" ");
    fields.SetString(cmdInfo.GetArgs());
    ApplyLinkPreset(ParseLinkPreset(fields.GetField(1), fields.GetField(2), fields.GetField(3),
                                    fields.GetField(4)));
  }
  return true;
}

void CCorvaneApp::InitLanguage() {
  m_nLanguageID = m_runLanguage->ReadLanguageId();
  static CQtSatellites satellites;
  static const platform::CUiLanguages uiLanguages;
  const std::string& program = m_argv.empty() ? std::string("corvane") : m_argv[0];
  m_Language.SetExecutablePath(m_strAppPath.empty() ? program
                                                    : m_strAppPath + program.substr(program.rfind('/') + 1));
  m_Language.SetProfile(&m_profile);
  m_Language.SetLoader(&satellites);
  m_Language.SetUiLanguages(&uiLanguages);
  m_Language.Initialize();
}

bool CCorvaneApp::CreateMainFrame() {
  auto* frame = new CMainFrame();
  frame->SetApp(this);
  frame->SetDocManager(m_pDocManager.get());
  if (!frame->LoadFrame()) {
    delete frame;
    return false;
  }
  m_pMainFrame = frame;
  frame->setAttribute(Qt::WA_DeleteOnClose);
  connect(frame, &QObject::destroyed, this, [this] { m_pMainFrame = nullptr; });
  // Shown, and accepting files dropped on it.
  frame->setAcceptDrops(true);
  frame->show();
  frame->repaint();
  return true;
}

void CCorvaneApp::ApplyLinkPreset(const LinkPreset& preset) {
  if (!m_pMainFrame) return;
  m_pMainFrame->ApplyLinkPreset(preset);
}

int CCorvaneApp::ExitInstance(int frameworkExitCode) {
  // 1. A language given on the command line lasts one run.
  if (m_runLanguage) m_runLanguage->Restore();
  // 2., 3. Templates go before the libraries that supplied them.
  m_pDocManager.reset();
  // Windows closed with a deferred delete may hold module code (their views): delete them
  // while that code is still loaded.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  m_moduleLibs.Release();
  return frameworkExitCode;
}

int CCorvaneApp::ScanModuleLibraries() { return m_moduleLibs.Scan(m_strAppPath); }

int CCorvaneApp::RegisterModuleTemplates() {
  int added = 0;
  for (int i = 0; i < m_moduleLibs.Count(); ++i) {
    DocTemplateFactory factory = m_moduleLibs.Library(i).Factory();
    auto* pTemplate = factory ? static_cast<CMyMultiDocTemplate*>(factory()) : nullptr;
    if (!pTemplate) continue;  // its slot keeps template number 0: later numbers do not shift
    m_pDocManager->AddDocTemplate(pTemplate);
    m_moduleLibs.SetTemplateNumber(i + 1, static_cast<int>(m_pDocManager->GetTemplateCount()));
    ++added;
  }
  return added;
}

int CCorvaneApp::FindTemplateNumber(const std::string& fileName) const {
  return m_moduleLibs.FindTemplateNumber(fileName);
}

bool CCorvaneApp::OpenNewDocument(int templateNumber) {
  return m_pDocManager && m_pDocManager->OpenNewDocument(templateNumber);
}

std::string CCorvaneApp::FindModuleCode(const std::string& name) const {
  return CModuleCatalogue(m_iniModules).FindModuleCode(name);
}

std::string CCorvaneApp::GetModuleName(const std::string& code) const {
  return CModuleCatalogue(m_iniModules).GetModuleName(code);
}

bool CCorvaneApp::OpenModule(const std::string& code) {
  const auto entry = CModuleCatalogue(m_iniModules).Find(code);
  if (!entry || !m_pMainFrame) return false;
  const int commType = m_pMainFrame->Services() ? m_pMainFrame->Services()->Conf().CommType
                                                : m_pMainFrame->LinkSettings().CommType;
  if (!entry->AllowedOn(commType)) return false;
  const int templateNumber = FindTemplateNumber(entry->libraryFile);
  if (templateNumber == 0) return false;
  if (m_aOpenModuleFiles.Find(entry->libraryFile) >= 0) return true;  // open at most once
  if (!OpenNewDocument(templateNumber)) return false;
  m_aOpenModuleFiles.Add(entry->libraryFile);
  m_aOpenModuleCodes.Add(code);
  if (CDeviceTreeWnd* tree = m_pMainFrame->DeviceTree()) tree->AddModuleNode(entry->networkType, entry->name);
  return true;
}

void CCorvaneApp::OnAppAbout() {
  const std::string version = m_iniAbout.GetString("AboutDlg", "version", "");
  const std::string copyright = m_iniAbout.GetString("AboutDlg", "copyright", "");
  CAboutDlg dlg(version, copyright, m_pMainFrame);
  dlg.exec();
}

void CCorvaneApp::OnHelpManual() {
  platform::ShellOpen(HelpDocumentFor(m_nLanguageID), "", m_strAppPath);
}

void CCorvaneApp::OnHelpHistory() {
  platform::ShellOpen(RevisionHistoryFor(m_nLanguageID), "", m_strAppPath);
}

void CCorvaneApp::OpenDocumentFile(const std::string& path, OpenOrigin origin) {
  std::string used = path;
  if (origin == OpenOrigin::Shell && !m_strFrameworkArgs.empty()) {
    used = m_strFrameworkArgs;
    if (used.size() >= 2 && used.front() == '"') used = used.substr(1, used.size() - 2);
  }
  if (m_pMainFrame) m_pMainFrame->PromptAndOpenProjectFile(used);
}

void CCorvaneApp::AddToRecentFileList(const std::string& path) {
  m_recentFiles.Add(path);
  m_recentFiles.WriteList();
}

void CCorvaneApp::OnOpenRecentFile(unsigned nID) {
  const std::size_t index = nID - cmd::ID_FILE_MRU_FILE1;
  if (nID < cmd::ID_FILE_MRU_FILE1 || index >= m_recentFiles.Entries().size()) return;
  const std::string path = m_recentFiles.Entries()[index];
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    // A project that is gone leaves the list, with the reason shown.
    m_recentFiles.Remove(index);
    m_recentFiles.WriteList();
    const QString text = QCoreApplication::translate("CCorvaneApp", "Cannot open %1:\nthe file no longer exists.");
    Prompts().MessageBox(text.arg(QString::fromStdString(path)).toStdString(), LoadString(57344), PromptButtons::Ok,
                         PromptIcon::Error);
    return;
  }
  OpenDocumentFile(path, OpenOrigin::RecentList);
}

}  // namespace corvane
