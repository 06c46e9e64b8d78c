#include "app/ui/CFrameServices.h"

#include <arpa/inet.h>

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QSocketNotifier>

#include "app/CLinkPreset.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CMainFrame.h"
#include "comm/CSerialLineSettings.h"
#include "comm/ui/CCommSetDlg.h"
#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMyDocManager.h"
#include "platform/IPrompts.h"
#include "resources/CStringTable.h"
#include "resources/StringIds.h"
#include "settings/CIni.h"
#include "widgets/ui/COutputListWnd.h"
#include "widgets/ui/CProgressWnd.h"

namespace corvane {

CFrameServices::CFrameServices(CMainFrame& frame) : m_frame(frame) {
  // COMn is the device the port map gives for it, in every link of the process (BusLink's too).
  comm::CSerialLineSettings::Apply();
  m_link.LogLine = [this](const std::string& line) {
    m_strLinkFailure = line;
    LogLine(line);
  };
}

CFrameServices::~CFrameServices() = default;

bool CFrameServices::LoadBusLink(const std::string& exeFolder) { return m_link.LoadBusLink(exeFolder); }

void CFrameServices::OnCreateLink(CIni& settings) {
  LoadCommConf(settings, m_conf);
  m_link.QueryPorthubPort(false);  // no pause before the first window
  // The manager's answer is taken whenever it comes.
  if (m_link.AnswerFd() >= 0 && !m_pAnswerNotifier) {
    m_pAnswerNotifier = new QSocketNotifier(m_link.AnswerFd(), QSocketNotifier::Read, &m_frame);
    QObject::connect(m_pAnswerNotifier, &QSocketNotifier::activated, &m_frame, [this] { m_link.AcceptPorthubAnswers(); });
  }
  m_link.ApplyLinkSettings();
  RefreshLinkStatus();
}

void CFrameServices::OnCommunicationSetting(CIni& settings, QWidget* parent,
                                            const std::function<int(comm::CCommSetDlg&)>& runDialog) {
  const BusLinkApi& bus = m_link.Bus();
  comm::CCommSetDlg dlg(
      m_conf, m_link.AdapterNames, m_link.AdapterIPs, m_frame.m_bLinkPreset,
      [&bus] { return bus.GetRemoteIPAddr ? static_cast<std::uint32_t>(bus.GetRemoteIPAddr()) : 0u; },
      [this] { m_link.EnumNetworkAdapters(); }, parent);
  const int result = runDialog ? runDialog(dlg) : dlg.exec();
  if (result == QDialog::Accepted) {
    m_link.PushSettings(false);
    RefreshLinkStatus();
  }
  SaveCommConf(settings, m_conf);
}

void CFrameServices::RefreshLinkStatus() {
  LinkStatusInput& s = m_frame.LinkSettings();
  s.CommType = m_conf.CommType;
  s.ComPortNum = m_conf.ComPortNum;
  s.IPAddress = static_cast<std::uint32_t>(m_conf.IPAddress);
  s.PorthubDrv = m_conf.PorthubDrv;
  s.PorthubInter = m_conf.PorthubInter;
  s.PorthubCOM = m_conf.PorthubCOM;
  s.m_bLinkPreset = m_frame.m_bLinkPreset;
  m_frame.RefreshLinkStatus();
}

void CFrameServices::OnSearch(CIni& settings) {
  m_conf.IPAddress = -1;
  m_portLink.SetRemoteIPAddr(-1);
  SaveCommConf(settings, m_conf);
  RunSearch();
}

void CFrameServices::OnIPSearch(CIni& settings) {
  if (m_frame.m_bLinkPreset && m_link.Bus().GetRemoteIPAddr) {
    m_conf.IPAddress = m_link.Bus().GetRemoteIPAddr();
    m_portLink.SetRemoteIPAddr(m_conf.IPAddress);
  } else {
    m_conf.IPAddress = static_cast<std::int32_t>(settings.GetInt(kCommConfSection, "IPAddress", -1, 16));
    m_portLink.SetRemoteIPAddr(static_cast<int>(htonl(static_cast<std::uint32_t>(m_conf.IPAddress))));
  }
  RunSearch();
}

void CFrameServices::RunSearch() {
  if (m_search.SearchDevices()) NotifyModulesAfterSearch();
}

void CFrameServices::NotifyModulesAfterSearch() {
  CCorvaneApp* app = CCorvaneApp::Instance();
  if (!app || !app->GetDocManager()) return;
  for (CDocument* doc : app->GetDocManager()->DocumentWalk()) {
    if (m_frame.m_bLinkPreset) doc->OnCmdMsg(cmd::ID_MODULE_LINK_PRESET, nullptr);
    m_frame.repaint();
    doc->OnCmdMsg(cmd::ID_MODULE_AFTER_SEARCH, nullptr);
  }
}

void CFrameServices::ApplyLinkPreset(const LinkPreset& preset) {
  m_frame.m_bLinkPreset = true;
  if (preset.commType) m_conf.CommType = *preset.commType;
  if (preset.comPortNum) m_conf.ComPortNum = *preset.comPortNum;
  if (preset.ipAddress) m_conf.IPAddress = static_cast<std::int32_t>(*preset.ipAddress);
  m_link.ApplyLinkSettings();
  RefreshLinkStatus();
  OpenModule(preset.moduleCode);
  NotifyModulesAfterSearch();
}

void CFrameServices::PrepareSearch() {
  m_strLinkFailure.clear();
  CCorvaneApp* app = CCorvaneApp::Instance();
  if (app) {
    app->m_aOpenModuleFiles.RemoveAll();
    app->m_aOpenModuleCodes.RemoveAll();
  }
  RefreshLinkStatus();
  m_frame.repaint();
  m_frame.OnProjectNew();
}

bool CFrameServices::OpenModule(const std::string& code) {
  CCorvaneApp* app = CCorvaneApp::Instance();
  return app && app->OpenModule(code);
}

void CFrameServices::ShowMessage(unsigned stringId) {
  const std::string reason = stringId == ids::kCannotOpenLink ? m_strLinkFailure : std::string();
  Prompts().MessageBoxWithDetail(LoadString(stringId), reason, LoadString(57344), PromptButtons::Ok,
                                 PromptIcon::Warning);
}

void CFrameServices::LogLine(const std::string& text) {
  m_frame.SendMessage(WM_OUTPUT_ADD_LINE, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CFrameServices::BeginScanProgress() {
  m_progress = std::make_unique<CProgressWnd>(&m_frame, LoadString(ids::kProcessing));
  m_progress->BeginModal();
  m_lastProgressPaintMs = 0;
  m_progress->SetRange(0, 1, 1);
  m_progress->SetText(LoadString(ids::kModuleSearching));
}

void CFrameServices::ScanProgress(std::size_t done, std::size_t total) {
  // Hundreds of queries may end within milliseconds: the window is painted at most every
  // 50 ms, and at the end.
  const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
  if (!m_progress || (done < total && now - m_lastProgressPaintMs < 50)) return;
  m_lastProgressPaintMs = now;
  m_progress->SetRange(0, static_cast<int>(total), 1);
  m_progress->SetPos(static_cast<int>(done));
}

void CFrameServices::EndScanProgress() {
  if (!m_progress) return;
  m_progress->SetPos(1);
  m_progress.reset();
}

}  // namespace corvane
