#pragma once
// The application object: single instance, configuration paths, one-run language,
// templates and the main frame at start-up; language restore and release at exit.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>

#include "app/CLanguageModule.h"
#include "app/CLinkPreset.h"
#include "app/CModuleLibraries.h"
#include "framework/ui/CCmdTarget.h"
#include "platform/CProfileStore.h"
#include "platform/CRecentFileList.h"
#include "settings/CIni.h"
#include "settings/meStringArray.h"

class QSocketNotifier;

namespace corvane {

class CMainFrame;
class CMyDocManager;
class CRunLanguage;
namespace platform { class CSingleInstance; class CTerminationSignals; }

class CCorvaneApp : public QApplication, public CCmdTarget {
  Q_OBJECT
public:
  CCorvaneApp(int& argc, char** argv);
  ~CCorvaneApp() override;

  static CCorvaneApp* Instance();

  bool InitInstance();
  int ExitInstance(int frameworkExitCode);
  // SIGTERM, SIGINT and SIGHUP close the main window as Exit does, so the shutdown runs.
  void CloseOnTerminationSignals();

  // Application commands.
  void OnAppAbout();
  void OnHelpManual();
  void OnHelpHistory();
  // The framework's entry for a file handed over from outside; never creates a document.
  // The shell's request uses the program's argument text when it has one; a file picked from
  // the recent list or dropped on the frame opens as given.
  // A project a later start handed over (a double click while the program runs) opens as given.
  enum class OpenOrigin { Shell, RecentList, Drop, SecondStart };
  void OpenDocumentFile(const std::string& path, OpenOrigin origin = OpenOrigin::Shell);

  // Module libraries beside the executable and their templates.
  int ScanModuleLibraries();
  int RegisterModuleTemplates();
  bool OpenModule(const std::string& code);
  std::string FindModuleCode(const std::string& name) const;
  std::string GetModuleName(const std::string& code) const;
  int FindTemplateNumber(const std::string& fileName) const;
  bool OpenNewDocument(int templateNumber);
  CModuleLibraries& ModuleLibraries() { return m_moduleLibs; }

  CMainFrame* GetMainFrame() const { return m_pMainFrame; }
  CMyDocManager* GetDocManager() const { return m_pDocManager.get(); }
  platform::CProfileStore& Profile() { return m_profile; }

  // The four most recently opened or saved projects, newest first.
  const std::vector<std::string>& RecentFiles() const { return m_recentFiles.Entries(); }
  void AddToRecentFileList(const std::string& path);
  // Commands 57616 and up: the entry's project opens through OpenDocumentFile.
  void OnOpenRecentFile(unsigned nID);

  // Start-up options a test may set before InitInstance.
  void SetSplashEnabled(bool on) { m_bSplash = on; }
  void SetSingleInstanceEnabled(bool on) { m_bSingleInstance = on; }

  std::string m_strAppPath;
  CIni m_iniModules;
  CIni m_iniSettings;
  CIni m_iniAbout;
  meStringArray m_aSelectedModules;
  meStringArray m_aOpenModuleFiles;
  meStringArray m_aOpenModuleCodes;
  int m_nLanguageID = 1033;
  CLanguageModule m_Language;

private:
  bool TakeSingleInstance(const std::string& projectPath);
  void OpenHandedOverProject(const std::string& path);
  void ReportSettingsFolder();
  void InitLanguage();
  bool CreateMainFrame();
  void ShowSplash();
  void ApplyLinkPreset(const LinkPreset& preset);
  void ActivateMainWindow();
  void CloseMainWindowOnSignal();

  platform::CProfileStore m_profile;
  platform::CRecentFileList m_recentFiles{m_profile, 4};
  std::unique_ptr<CRunLanguage> m_runLanguage;
  std::unique_ptr<platform::CSingleInstance> m_singleInstance;
  QSocketNotifier* m_pInstanceNotifier = nullptr;
  std::unique_ptr<platform::CTerminationSignals> m_terminationSignals;
  bool m_bClosingOnSignal = false;
  std::unique_ptr<CMyDocManager> m_pDocManager;
  CModuleLibraries m_moduleLibs;
  CMainFrame* m_pMainFrame = nullptr;
  std::vector<std::string> m_argv;
  std::string m_strFrameworkArgs;  // the command line without the program path
  bool m_bSplash = true;
  bool m_bSingleInstance = true;
};

}  // namespace corvane
