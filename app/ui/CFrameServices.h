#pragma once
// What the main frame owns beyond its windows: the link settings record, the PortLink
// object, the link manager and the device search. The frame routes its commands here.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "comm/CLinkManager.h"
#include "comm/CommConf.h"
#include "discovery/CDeviceSearch.h"
#include "libs/portlink/CPortLink.h"

class QSocketNotifier;
class QWidget;

namespace corvane {
namespace comm {
class CCommSetDlg;
}

class CMainFrame;
class CProgressWnd;
struct LinkPreset;

class CFrameServices : public ISearchHost {
public:
  explicit CFrameServices(CMainFrame& frame);
  ~CFrameServices() override;

  // During construction: false when BusLink is missing (the process then ends with status 0).
  bool LoadBusLink(const std::string& exeFolder);
  // End of frame creation: settings, manager port, both libraries, status panes.
  void OnCreateLink(class CIni& settings);

  CommConf& Conf() { return m_conf; }
  CPortLink& PortLink() { return m_portLink; }
  CLinkManager& Link() { return m_link; }
  CDeviceSearch& Search() { return m_search; }

  // Mirrors the record into the status panes.
  void RefreshLinkStatus();

  // Command 15300: the setting dialog; OK pushes what it stored. The record is saved either way.
  void OnCommunicationSetting(class CIni& settings, QWidget* parent,
                              const std::function<int(comm::CCommSetDlg&)>& runDialog);

  // Commands 15250 and 15251 and their enable rules.
  void OnSearch(class CIni& settings);
  void OnIPSearch(class CIni& settings);
  bool CanSearch(int openDocuments) const { return openDocuments == 0; }
  bool CanIPSearch(int openDocuments) const {
    return openDocuments == 0 && !IsLinkType(m_conf.CommType, LinkType::Serial) && m_conf.IPAddress != -1;
  }
  void RunSearch();
  void NotifyModulesAfterSearch();
  // Start with a link preset: settings applied, module opened, documents told.
  void ApplyLinkPreset(const LinkPreset& preset);
  void OnPorthubPort(int port) { m_conf.PorthubPort = port; }

  // ISearchHost
  void PrepareSearch() override;
  bool OpenModule(const std::string& code) override;
  void ShowMessage(unsigned stringId) override;
  void LogLine(const std::string& text) override;
  void BeginScanProgress() override;
  void EndScanProgress() override;
  void ScanProgress(std::size_t done, std::size_t total) override;

private:
  CMainFrame& m_frame;
  CommConf m_conf;
  CPortLink m_portLink;
  CLinkManager m_link{m_conf, m_portLink};
  CDeviceSearch m_search{m_link, *this};
  std::unique_ptr<CProgressWnd> m_progress;
  std::int64_t m_lastProgressPaintMs = 0;
  QSocketNotifier* m_pAnswerNotifier = nullptr;
  // The link's latest reason for a failed open in this search; message 503 shows it.
  std::string m_strLinkFailure;
};

}  // namespace corvane
