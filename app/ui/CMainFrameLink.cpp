// The frame's link, search and project commands, routed to the services it owns.
#include <cstdlib>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "app/CLinkPreset.h"
#include "app/CModuleCatalogue.h"
#include "app/ui/CConfigureDlg.h"
#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CFrameServices.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CProjectCommands.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CMyDocManager.h"

namespace corvane {

std::unique_ptr<CFrameServices> CMainFrame::CreateServices(CMainFrame& frame) {
  auto services = std::make_unique<CFrameServices>(frame);
  // Without BusLink the program cannot work: its message was shown, the process ends.
  if (CCorvaneApp* app = CCorvaneApp::Instance(); app && !services->LoadBusLink(app->m_strAppPath))
    std::exit(0);
  return services;
}

void CMainFrame::CreateLinkAtEndOfCreation() {
  CCorvaneApp* app = CCorvaneApp::Instance();
  if (!app || !m_services) return;
  m_project = std::make_unique<CProjectCommands>(*app, *this, m_services->PortLink());
  m_services->OnCreateLink(app->m_iniSettings);
}

void CMainFrame::OnPorthubPortMessage(int port) {
  if (m_services) m_services->OnPorthubPort(port);
}

bool CMainFrame::ApplyLinkPresetToServices(const LinkPreset& preset) {
  if (!m_services || !CCorvaneApp::Instance()) return false;
  m_services->ApplyLinkPreset(preset);
  return true;
}

void CMainFrame::OnProjectNew() {
  if (m_project) m_project->NewProject();
}

void CMainFrame::OnProjectOpen() {
  if (m_project) m_project->OnProjectOpen();
}

void CMainFrame::OnProjectSave() {
  if (m_project) m_project->SaveProject();
}

void CMainFrame::OnProjectSaveAs() {
  if (m_project) m_project->SaveProject();
}

void CMainFrame::PromptAndOpenProjectFile(const std::string& path) {
  if (m_project) m_project->PromptAndOpenProjectFile(path);
}

void CMainFrame::OnSearchModule() {
  if (CCorvaneApp* app = CCorvaneApp::Instance(); app && m_services) m_services->OnSearch(app->m_iniSettings);
}

void CMainFrame::OnIPSearch() {
  if (CCorvaneApp* app = CCorvaneApp::Instance(); app && m_services) m_services->OnIPSearch(app->m_iniSettings);
}

void CMainFrame::OnUpdateSearchModule(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_services && m_services->CanSearch(static_cast<int>(OpenDocumentCount())));
}

void CMainFrame::OnUpdateIPSearch(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_services && m_services->CanIPSearch(static_cast<int>(OpenDocumentCount())));
}

void CMainFrame::OnModuleClosed() {
  if (CCorvaneApp* app = CCorvaneApp::Instance(); app && m_wndDeviceTree)
    m_wndDeviceTree->OnModuleClosed(app->m_aOpenModuleFiles, app->m_aOpenModuleCodes);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  CCorvaneApp* app = CCorvaneApp::Instance();
  if (!app) return;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    event->acceptProposedAction();
    app->OpenDocumentFile(url.toLocalFile().toStdString(), CCorvaneApp::OpenOrigin::Drop);
    return;  // one project at a time
  }
}

void CMainFrame::OnCommSetting() {
  if (CCorvaneApp* app = CCorvaneApp::Instance(); app && m_services)
    m_services->OnCommunicationSetting(app->m_iniSettings, this, CommSetDialogHook);
}

void CMainFrame::OnConfigure() {
  CCorvaneApp* app = CCorvaneApp::Instance();
  if (!app) return;
  app->m_aSelectedModules.RemoveAll();
  CModuleCatalogue catalogue(app->m_iniModules);
  CConfigureDlg dlg(catalogue, app->m_aOpenModuleFiles, app->m_aSelectedModules, this);
  if (ConfigureDialogHook ? ConfigureDialogHook(dlg) != QDialog::Accepted : dlg.exec() != QDialog::Accepted) return;
  const std::vector<std::string> names(app->m_aSelectedModules.begin(), app->m_aSelectedModules.end());
  for (const std::string& name : names) {
    app->OpenModule(app->FindModuleCode(name));
    for (CDocument* doc : app->GetDocManager()->DocumentWalk())
      if (doc->GetTitle() == name) doc->OnCmdMsg(cmd::ID_MODULE_AFTER_SEARCH, nullptr);
  }
}

}  // namespace corvane
