#pragma once
// The main window: menus, five toolbars, status bar with the link panes, the device tree and
// output panes, tabs over the documents; the frame's own commands and module messages.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QIcon>

#include "discovery/CLinkStatusText.h"
#include "framework/ui/CMDIFrameWnd.h"

class QActionGroup;
class QDockWidget;
class QLabel;
class QToolBar;

namespace corvane {
namespace comm {
class CCommSetDlg;
}

class CCmdUI;
class CDeviceTreeWnd;
class CFrameServices;
class CProjectCommands;
class CMyMultiDocTemplate;
class COutputListWnd;
struct LinkPreset;
struct MenuItem;

class CMainFrame : public CMDIFrameWnd {
  Q_OBJECT
public:
  static constexpr int kToolBarCount = 5;

  CMainFrame();
  ~CMainFrame() override;

  // The built-in document template, for the application to register first.
  static CMyMultiDocTemplate* CreateBuiltInTemplate();

  // Builds the frame's windows (OnCreate); shows nothing. False when a step fails.
  bool LoadFrame(unsigned nIDResource = 128);

  LRESULT SendMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void OnDocumentsChanged() override;

  // Writes the link type and address panes from the link settings.
  void RefreshLinkStatus();
  // A calling program's link preset: the link fields it names, then the status panes.
  void ApplyLinkPreset(const LinkPreset& preset);
  // A project path handed to the program: the save prompt, then the load.
  virtual void PromptAndOpenProjectFile(const std::string& path);

  // The link, the search and the project operations (null only in a frame without services).
  CFrameServices* Services() const { return m_services.get(); }
  // Tests answer the Configure dialog through this instead of running it.
  std::function<int(class CConfigureDlg&)> ConfigureDialogHook;
  // ... and the communication setting dialog.
  std::function<int(comm::CCommSetDlg&)> CommSetDialogHook;
  CProjectCommands* Project() const { return m_project.get(); }

  LinkStatusInput& LinkSettings() { return m_link; }
  bool m_bLinkPreset = false;
  int PorthubPort() const { return m_nPorthubPort; }

  CDeviceTreeWnd* DeviceTree() const { return m_wndDeviceTree; }
  COutputListWnd* Output() const { return m_wndOutput; }
  QDockWidget* DeviceTreePane() const { return m_pDeviceTreePane; }
  QDockWidget* OutputPane() const { return m_pOutputPane; }
  QToolBar* ToolBar(unsigned nID) const;
  QLabel* StatusPane(unsigned nID) const;
  unsigned CurrentMenuId() const { return m_nCurrentMenu; }

  // Command handlers (the routing table's names).
  virtual void OnProjectNew();
  virtual void OnProjectOpen();
  virtual void OnProjectSave();
  virtual void OnProjectSaveAs();
  virtual void OnSearchModule();
  virtual void OnIPSearch();
  virtual void OnCommSetting();
  virtual void OnSelectLanguage(unsigned nID);
  virtual void OnConfigure();
  virtual void LaunchVirtualPort();
  virtual void LaunchLadderStudio();
  virtual void LaunchLadderPad();
  virtual void LaunchDriveTool();
  virtual void LaunchServoTool();
  virtual void LaunchCardTool();
  virtual void OnToolbarToggle(unsigned nID);
  virtual void OnBarCheck(unsigned nID);
  virtual void OnWindowCascade();
  virtual void OnWindowTile();
  virtual void OnAppExit();
  virtual void OnModuleClosed();

  // Update handlers.
  virtual void OnUpdateProjectNew(CCmdUI* pCmdUI);
  virtual void OnUpdateProjectOpen(CCmdUI* pCmdUI);
  virtual void OnUpdateProjectSave(CCmdUI* pCmdUI);
  virtual void OnUpdateProjectSaveAs(CCmdUI* pCmdUI);
  virtual void OnUpdateSearchModule(CCmdUI* pCmdUI);
  virtual void OnUpdateIPSearch(CCmdUI* pCmdUI);
  virtual void OnUpdateCommSetting(CCmdUI* pCmdUI);
  virtual void OnUpdateLanguage(CCmdUI* pCmdUI);
  virtual void OnUpdateLanguageItem(CCmdUI* pCmdUI);
  virtual void OnUpdateLaunchCardTool(CCmdUI* pCmdUI);
  virtual void OnUpdateToolbarToggle(CCmdUI* pCmdUI);
  virtual void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

protected:
  void closeEvent(QCloseEvent* event) override;
  // A project file dropped on the frame opens through the application's OpenDocumentFile.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // The link side of the frame (CMainFrameLink.cpp).
  static std::unique_ptr<CFrameServices> CreateServices(CMainFrame& frame);
  void CreateLinkAtEndOfCreation();
  void OnPorthubPortMessage(int port);
  bool ApplyLinkPresetToServices(const LinkPreset& preset);

  bool OnCreate();
  void MapMessages();
  bool CreateStatusBar();
  bool CreateToolBars();
  bool CreatePanes();
  void CreateAccelerators();
  void SwitchMenu(unsigned nIDMenu);
  void FillMenu(QMenu* menu, const std::vector<MenuItem>& items);
  // Puts the recent projects where the "Recent File" item stands.
  void FillRecentFileMenu(QMenu* menu);
  std::size_t OpenDocumentCount() const;

  // Members in the frame's order.
  CDeviceTreeWnd* m_wndDeviceTree = nullptr;
  COutputListWnd* m_wndOutput = nullptr;
  QDockWidget* m_pDeviceTreePane = nullptr;
  QDockWidget* m_pOutputPane = nullptr;
  std::array<std::vector<QIcon>, 4> m_imageLists;
  LinkStatusInput m_link;
  int m_nPorthubPort = 0;
  std::vector<std::string> m_aAdapterNames;
  std::vector<std::string> m_aAdapterIPs;
  QLabel* m_pPaneLinkType = nullptr;
  QLabel* m_pPaneAddress = nullptr;
  std::array<QToolBar*, kToolBarCount> m_toolBars{};
  unsigned m_nCurrentMenu = 0;
  unsigned m_nLanguageChecked = 0;  // the language item with the radio mark
  QActionGroup* m_pLanguageGroup = nullptr;
  QString m_strRecentFilePlaceholder;
  std::unique_ptr<CFrameServices> m_services;
  std::unique_ptr<CProjectCommands> m_project;
};

}  // namespace corvane
