#include "app/ui/CMainFrame.h"

#include "app/ui/CFrameServices.h"
#include "app/ui/CProjectCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "app/CLinkPreset.h"
#include "app/ui/CCorvaneApp.h"
#include "comm/CAppPath.h"
#include "widgets/CToolLauncher.h"
#include "app/ui/CCorvaneApp.h"
#include "app/ui/CCorvaneDoc.h"
#include "discovery/ui/CDeviceTreeWnd.h"
#include "framework/CommandIds.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CResourceIcons.h"
#include "platform/IPrompts.h"
#include "resources/CMenuResource.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"
#include "widgets/ui/COutputListWnd.h"

namespace corvane {
namespace {

struct ToolBarSpec {
  unsigned id;
  unsigned resource;
  const char* title;
  unsigned firstIcon;  // 0: the toolbar's own pictures
  int iconCount;
};

constexpr std::array<ToolBarSpec, CMainFrame::kToolBarCount> kToolBarSpecs{{
    {cmd::ID_TOOLBAR_STANDARD, 128, CVN_STR("ToolBar", "Standard"), 300, 5},
    {cmd::ID_TOOLBAR_EDIT, 130, CVN_STR("ToolBar", "Edit"), 305, 1},
    {cmd::ID_TOOLBAR_COMMUNICATION, 132, CVN_STR("ToolBar", "Communication"), 306, 3},
    {cmd::ID_TOOLBAR_APPLICATION, 135, CVN_STR("ToolBar", "Application"), 309, 6},
    {cmd::ID_TOOLBAR_WINDOW, 131, CVN_STR("ToolBar", "Window"), 0, 0},
}};

QIcon WindowToolBarIcon(unsigned id) {
  if (id == cmd::ID_WINDOW_CASCADE) return LoadNamedIcon("window_cascade");
  if (id == cmd::ID_WINDOW_TILE_HORZ) return LoadNamedIcon("window_tile");
  return {};
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CMainFrame::CMainFrame() : m_services(CreateServices(*this)) {
  SetFrameTitle(Q(LoadString(57344)));
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
  m_bLinkPreset = false;
  MapMessages();
}

CMainFrame::~CMainFrame() {
  BeginDestroy();
  // BusLink goes first, the PortLink object last (with the services).
  if (m_services) m_services->Link().FreeBusLink();
  // Toolbars from Window back to Standard, the status bar, then the panes (output first).
  for (auto it = m_toolBars.rbegin(); it != m_toolBars.rend(); ++it) {
    delete *it;
    *it = nullptr;
  }
  delete statusBar();
  m_aAdapterNames.clear();
  m_aAdapterIPs.clear();
  for (auto& list : m_imageLists) list.clear();
  delete m_pOutputPane;
  delete m_pDeviceTreePane;
}

CMyMultiDocTemplate* CMainFrame::CreateBuiltInTemplate() { return CCorvaneDoc::CreateBuiltInTemplate(); }

bool CMainFrame::LoadFrame(unsigned nIDResource) {
  // The framework's Open (Ctrl+O) hands the file picked to the application's entry for files;
  // a picked file opens as given, like a dropped one.
  if (CMyDocManager* dm = GetDocManager(); dm && !dm->FileOpener) {
    dm->FileOpener = [](const std::string& path) {
      if (CCorvaneApp* app = CCorvaneApp::Instance()) app->OpenDocumentFile(path, CCorvaneApp::OpenOrigin::Drop);
    };
    // That entry loads projects: the dialog offers project files.
    dm->FileOpenDialog = [] { return CProjectCommands::ProjectFileDialog(false); };
  }
  SwitchMenu(nIDResource);
  if (!OnCreate()) return false;
  UpdateCommandUI();
  return true;
}

void CMainFrame::MapMessages() {
  using namespace cmd;
  MapCommand(ID_PROJECT_NEW, [this] { OnProjectNew(); });
  MapCommand(ID_PROJECT_OPEN, [this] { OnProjectOpen(); });
  MapCommand(ID_PROJECT_SAVE, [this] { OnProjectSave(); });
  MapCommand(ID_PROJECT_SAVE_AS, [this] { OnProjectSaveAs(); });
  MapUpdate(ID_PROJECT_NEW, [this](CCmdUI* p) { OnUpdateProjectNew(p); });
  MapUpdate(ID_PROJECT_OPEN, [this](CCmdUI* p) { OnUpdateProjectOpen(p); });
  MapUpdate(ID_PROJECT_SAVE, [this](CCmdUI* p) { OnUpdateProjectSave(p); });
  MapUpdate(ID_PROJECT_SAVE_AS, [this](CCmdUI* p) { OnUpdateProjectSaveAs(p); });
  MapCommand(ID_SEARCH_MODULE, [this] { OnSearchModule(); });
  MapUpdate(ID_SEARCH_MODULE, [this](CCmdUI* p) { OnUpdateSearchModule(p); });
  MapCommand(ID_IP_SEARCH, [this] { OnIPSearch(); });
  MapUpdate(ID_IP_SEARCH, [this](CCmdUI* p) { OnUpdateIPSearch(p); });
  MapCommand(ID_COMM_SETTING, [this] { OnCommSetting(); });
  MapUpdate(ID_COMM_SETTING, [this](CCmdUI* p) { OnUpdateCommSetting(p); });
  MapUpdate(ID_LANGUAGE, [this](CCmdUI* p) { OnUpdateLanguage(p); });
  MapCommandRange(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, [this](unsigned id) { OnSelectLanguage(id); });
  MapUpdateRange(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, [this](CCmdUI* p) { OnUpdateLanguageItem(p); });
  MapCommand(ID_CONFIGURE, [this] { OnConfigure(); });
  MapCommand(ID_TOOL_VIRTUAL_PORT, [this] { LaunchVirtualPort(); });
  MapCommand(ID_TOOL_LADDER_STUDIO, [this] { LaunchLadderStudio(); });
  MapCommand(ID_TOOL_LADDER_PAD, [this] { LaunchLadderPad(); });
  MapCommand(ID_TOOL_DRIVE_TOOL, [this] { LaunchDriveTool(); });
  MapCommand(ID_TOOL_SERVO_TOOL, [this] { LaunchServoTool(); });
  MapCommand(ID_TOOL_CARD_TOOL, [this] { LaunchCardTool(); });
  MapUpdate(ID_TOOL_CARD_TOOL, [this](CCmdUI* p) { OnUpdateLaunchCardTool(p); });
  MapCommandRange(ID_TOOLBAR_STANDARD, ID_TOOLBAR_WINDOW, [this](unsigned id) { OnToolbarToggle(id); });
  MapUpdateRange(ID_TOOLBAR_STANDARD, ID_TOOLBAR_WINDOW, [this](CCmdUI* p) { OnUpdateToolbarToggle(p); });
  for (unsigned id : {ID_VIEW_WORKSPACE, ID_VIEW_OUTPUT, ID_VIEW_STATUS_BAR}) {
    MapCommand(id, [this, id] { OnBarCheck(id); });
    MapUpdate(id, [this](CCmdUI* p) { OnUpdateControlBarMenu(p); });
  }
  MapCommand(ID_WINDOW_CASCADE, [this] { OnWindowCascade(); });
  MapCommand(ID_WINDOW_TILE_HORZ, [this] { OnWindowTile(); });
  MapCommand(ID_APP_EXIT, [this] { OnAppExit(); });
}

bool CMainFrame::OnCreate() {
  if (!CreateStatusBar()) return false;
  if (!CreateToolBars()) return false;
  if (!CreatePanes()) return false;
  CreateAccelerators();
  // Centre on the screen.
  resize(1000, 700);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  // The tabs over the document windows are the MDI area's tabbed view.
  MdiArea()->setTabPosition(QTabWidget::North);
  MdiArea()->setTabShape(QTabWidget::Rounded);
  CreateLinkAtEndOfCreation();
  RefreshLinkStatus();
  return true;
}

bool CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar59393"));
  const QFontMetrics fm(bar->font());
  m_pPaneLinkType = new QLabel(bar);
  m_pPaneLinkType->setObjectName(QStringLiteral("Pane15000"));
  m_pPaneLinkType->setMinimumWidth(fm.horizontalAdvance(Q(LoadString(cmd::ID_INDICATOR_LINK_TYPE))));
  m_pPaneAddress = new QLabel(bar);
  m_pPaneAddress->setObjectName(QStringLiteral("Pane15001"));
  m_pPaneAddress->setMinimumWidth(fm.horizontalAdvance(Q(LoadString(cmd::ID_INDICATOR_LINK_ADDRESS))));
  for (QLabel* pane : {m_pPaneLinkType, m_pPaneAddress}) {
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(pane);
  }
  return true;
}

bool CMainFrame::CreateToolBars() {
  for (std::size_t i = 0; i < kToolBarSpecs.size(); ++i) {
    const ToolBarSpec& spec = kToolBarSpecs[i];
    const ToolBarResource* resource = CMenuResource::ToolBar(spec.resource);
    if (!resource) return false;
    if (i < m_imageLists.size())
      for (int k = 0; k < spec.iconCount; ++k) m_imageLists[i].push_back(LoadIcon(spec.firstIcon + k));

    auto* bar = new QToolBar(Q(TranslateText("ToolBar", spec.title)), this);
    bar->setObjectName(QStringLiteral("ToolBar%1").arg(spec.id));
    bar->setIconSize(QSize(16, 16));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setMovable(true);
    bar->setFloatable(true);
    std::size_t image = 0;
    for (unsigned id : resource->buttons) {
      if (id == 0) {
        bar->addSeparator();
        continue;
      }
      QAction* a = CommandAction(id);
      if (a->icon().isNull()) {
        QIcon icon = i < m_imageLists.size() ? (image < m_imageLists[i].size() ? m_imageLists[i][image] : QIcon())
                                             : WindowToolBarIcon(id);
        a->setIcon(icon);
      }
      ++image;
      const std::string tip = CStringTable::Tooltip(id);
      if (!tip.empty()) a->setToolTip(Q(tip));
      if (a->text().isEmpty()) a->setText(Q(tip));
      a->setStatusTip(Q(CStringTable::Prompt(id)));
      bar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, bar);  // each one right of the one before
    m_toolBars[i] = bar;
  }
  return true;
}

bool CMainFrame::CreatePanes() {
  setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
  m_wndDeviceTree = new CDeviceTreeWnd;
  if (!m_wndDeviceTree->RootItem()) {
    Prompts().MessageBox(TranslateText("MainFrame", CVN_STR("MainFrame", "Cannot Initialize Device List")), LoadString(57344), PromptButtons::Ok, PromptIcon::Error);
    return false;
  }
  m_pDeviceTreePane = new QDockWidget(Q(CStringTable::Tooltip(cmd::ID_VIEW_WORKSPACE)), this);
  m_pDeviceTreePane->setObjectName(QStringLiteral("Pane15150"));
  m_pDeviceTreePane->setAllowedAreas(Qt::AllDockWidgetAreas);
  m_pDeviceTreePane->setWidget(m_wndDeviceTree);
  addDockWidget(Qt::LeftDockWidgetArea, m_pDeviceTreePane);

  m_wndOutput = new COutputListWnd;
  m_pOutputPane = new QDockWidget(Q(CStringTable::Tooltip(cmd::ID_VIEW_OUTPUT)), this);
  m_pOutputPane->setObjectName(QStringLiteral("Pane15151"));
  m_pOutputPane->setAllowedAreas(Qt::AllDockWidgetAreas);
  m_pOutputPane->setWidget(m_wndOutput);
  addDockWidget(Qt::BottomDockWidgetArea, m_pOutputPane);
  resizeDocks({m_pDeviceTreePane}, {220}, Qt::Horizontal);
  resizeDocks({m_pOutputPane}, {160}, Qt::Vertical);
  for (QDockWidget* pane : {m_pDeviceTreePane, m_pOutputPane}) {
    // A pane's close button hides it like the View command does; the check must follow.
    connect(pane, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandUI(); });
    // A right click on a pane (its title bar too) shows nothing: it would reach the frame's
    // menu of docks and toolbars otherwise.
    pane->setContextMenuPolicy(Qt::PreventContextMenu);
  }
  return true;
}

void CMainFrame::CreateAccelerators() {
  for (const Accelerator& acc : CMenuResource::Accelerators(128)) {
    QAction* a = CommandAction(acc.id);
    QList<QKeySequence> keys = a->shortcuts();
    keys.append(QKeySequence(QString::fromLatin1(acc.key)));
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
}

void CMainFrame::FillMenu(QMenu* menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (!item.text) {
      menu->addSeparator();
    } else if (!item.popup.empty() || item.id == cmd::ID_LANGUAGE) {
      QMenu* sub = menu->addMenu(Q(TranslateText("Menu", item.text)));
      if (item.id) {
        sub->menuAction()->setData(item.id);
        sub->menuAction()->setStatusTip(Q(CStringTable::Prompt(item.id)));
      }
      FillMenu(sub, item.popup);
      WatchMenu(sub);
    } else {
      QAction* a = CommandAction(item.id);
      a->setText(Q(TranslateText("Menu", item.text)));
      const std::string prompt = CStringTable::Prompt(item.id);
      if (!prompt.empty()) a->setStatusTip(Q(prompt));
      menu->addAction(a);
      if (item.id == cmd::ID_FILE_MRU_FILE1) {
        m_strRecentFilePlaceholder = a->text();
        // Ahead of the menu's update pass, which then enables the entries it finds.
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillRecentFileMenu(menu); });
      }
    }
  }
}

void CMainFrame::FillRecentFileMenu(QMenu* menu) {
  const QList<QAction*> actions = menu->actions();
  int at = -1;
  for (int i = 0; i < actions.size(); ++i) {
    bool ok = false;
    const unsigned id = actions[i]->data().toUInt(&ok);
    if (!ok || id < cmd::ID_FILE_MRU_FILE1 || id > cmd::ID_FILE_MRU_LAST) continue;
    if (at < 0) at = i;
    menu->removeAction(actions[i]);
  }
  if (at < 0) return;
  QAction* before = menu->actions().value(at, nullptr);
  std::vector<std::string> files;
  if (CCorvaneApp* app = CCorvaneApp::Instance()) files = app->RecentFiles();
  if (files.empty()) {
    QAction* a = CommandAction(cmd::ID_FILE_MRU_FILE1);
    a->setText(m_strRecentFilePlaceholder);
    a->setToolTip({});
    menu->insertAction(before, a);
    return;
  }
  const std::size_t count = std::min<std::size_t>(files.size(), cmd::ID_FILE_MRU_LAST - cmd::ID_FILE_MRU_FILE1 + 1);
  for (std::size_t i = 0; i < count; ++i) {
    QAction* a = CommandAction(cmd::ID_FILE_MRU_FILE1 + static_cast<unsigned>(i));
    // "&1 name": the number is the accelerator; the full path shows as the status tip.
    const QString path = QString::fromStdString(files[i]);
    QString shown = QFileInfo(path).fileName();
    shown.replace('&', "&&");
    a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    a->setStatusTip(path);
    a->setToolTip(path);
    menu->insertAction(before, a);
  }
}

void CMainFrame::SwitchMenu(unsigned nIDMenu) {
  if (nIDMenu == m_nCurrentMenu) return;
  const std::vector<MenuItem>& items = CMenuResource::Menu(nIDMenu);
  if (items.empty()) return;
  auto* bar = new QMenuBar(this);
  bar->setObjectName(QStringLiteral("Menu%1").arg(nIDMenu));
  for (const MenuItem& top : items) {
    QMenu* menu = bar->addMenu(Q(TranslateText("Menu", top.text)));
    FillMenu(menu, top.popup);
    WatchMenu(menu);
  }
  setMenuBar(bar);  // the previous bar is deleted; the actions live on in the frame
  m_nCurrentMenu = nIDMenu;
}

void CMainFrame::OnDocumentsChanged() {
  CMDIChildWnd* child = MDIGetActive();
  CDocument* doc = child ? child->GetActiveDocument() : nullptr;
  unsigned menu = 128;
  if (doc) {
    const CMyMultiDocTemplate* t = doc->GetDocTemplate();
    // Module templates whose menus we cannot load take the built-in document's.
    menu = t && !CMenuResource::Menu(t->m_nIDResource).empty() ? t->m_nIDResource : 134;
  }
  SwitchMenu(menu);
  CMDIFrameWnd::OnDocumentsChanged();
}

std::size_t CMainFrame::OpenDocumentCount() const {
  if (CMyDocManager* dm = GetDocManager()) return dm->GetOpenDocumentCount();
  return static_cast<std::size_t>(MdiArea()->subWindowList().size());
}

QToolBar* CMainFrame::ToolBar(unsigned nID) const {
  for (std::size_t i = 0; i < kToolBarSpecs.size(); ++i)
    if (kToolBarSpecs[i].id == nID) return m_toolBars[i];
  return nullptr;
}

QLabel* CMainFrame::StatusPane(unsigned nID) const {
  if (nID == cmd::ID_INDICATOR_LINK_TYPE) return m_pPaneLinkType;
  if (nID == cmd::ID_INDICATOR_LINK_ADDRESS) return m_pPaneAddress;
  return nullptr;
}

LRESULT CMainFrame::SendMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MAINFRAME_TEST:
      Prompts().MessageBox(TranslateText("MainFrame", CVN_STR("MainFrame", "Communication with MainFrame ok!")), LoadString(57344), PromptButtons::Ok,
                           PromptIcon::Information);
      return 1;
    case WM_MODULE_CLOSED:
      OnModuleClosed();
      return 1;
    case WM_OUTPUT_ADD_LINE: {
      // Copied at once: the sender's text lives only for this call. Null reads as empty.
      const char* text = reinterpret_cast<const char*>(lParam);
      if (m_wndOutput) m_wndOutput->AddLine(text ? std::string(text) : std::string());
      return 1;
    }
    case WM_OUTPUT_CLEAR:
      if (m_wndOutput) m_wndOutput->Clear();
      return 1;
    case WM_REFRESH_LINK_STATUS:
      RefreshLinkStatus();
      return 1;
    case WM_PORTHUB_PORT:
      m_nPorthubPort = static_cast<int>(wParam);
      OnPorthubPortMessage(m_nPorthubPort);
      return 1;
    default:
      return CMDIFrameWnd::SendMessage(message, wParam, lParam);
  }
}

void CMainFrame::RefreshLinkStatus() {
  LinkStatusInput in = m_link;
  in.m_bLinkPreset = m_bLinkPreset;
  const auto text = CLinkStatusText::Make(in);
  if (!text || !m_pPaneLinkType || !m_pPaneAddress) return;
  m_pPaneLinkType->setText(Q(text->linkType));
  m_pPaneAddress->setText(Q(text->address));
}

void CMainFrame::ApplyLinkPreset(const LinkPreset& preset) {
  if (ApplyLinkPresetToServices(preset)) return;
  if (preset.commType) m_link.CommType = *preset.commType;
  if (preset.comPortNum) m_link.ComPortNum = *preset.comPortNum;
  if (preset.ipAddress) m_link.IPAddress = *preset.ipAddress;
  m_bLinkPreset = true;
  RefreshLinkStatus();
}


void CMainFrame::OnToolbarToggle(unsigned nID) {
  QToolBar* bar = ToolBar(nID);
  if (!bar) return;
  bar->setVisible(bar->isHidden());
}

void CMainFrame::OnBarCheck(unsigned nID) {
  QWidget* bar = nID == cmd::ID_VIEW_WORKSPACE ? static_cast<QWidget*>(m_pDeviceTreePane)
                 : nID == cmd::ID_VIEW_OUTPUT  ? static_cast<QWidget*>(m_pOutputPane)
                                               : static_cast<QWidget*>(statusBar());
  if (bar) bar->setVisible(bar->isHidden());
}

void CMainFrame::OnWindowCascade() { MdiArea()->cascadeSubWindows(); }
void CMainFrame::OnWindowTile() { MdiArea()->tileSubWindows(); }
void CMainFrame::OnAppExit() { close(); }

void CMainFrame::OnUpdateProjectNew(CCmdUI* pCmdUI) { pCmdUI->Enable(true); }
void CMainFrame::OnUpdateProjectOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(false); }
void CMainFrame::OnUpdateProjectSave(CCmdUI* pCmdUI) { pCmdUI->Enable(false); }
void CMainFrame::OnUpdateProjectSaveAs(CCmdUI* pCmdUI) { pCmdUI->Enable(false); }
void CMainFrame::OnUpdateCommSetting(CCmdUI* pCmdUI) { pCmdUI->Enable(OpenDocumentCount() == 0); }
// The submenu is rebuilt from the satellites present every time the Tools menu opens.
void CMainFrame::OnUpdateLanguage(CCmdUI* pCmdUI) {
  CCorvaneApp* app = CCorvaneApp::Instance();
  QAction* action = pCmdUI->GetAction();
  if (app && action && action->menu()) {
    const LanguageMenu languages = app->m_Language.FillLanguageMenu();
    QMenu* sub = action->menu();
    sub->clear();
    m_nLanguageChecked = languages.checked;
    // An exclusive group draws the radio mark.
    if (!m_pLanguageGroup) m_pLanguageGroup = new QActionGroup(this);
    for (const LanguageMenuItem& item : languages.items) {
      QAction* a = CommandAction(item.id);
      a->setText(Q(item.text));
      a->setCheckable(true);
      m_pLanguageGroup->addAction(a);
      a->setChecked(item.id == languages.checked);
      sub->addAction(a);
    }
  }
  pCmdUI->Enable(true);
}

void CMainFrame::OnUpdateLanguageItem(CCmdUI* pCmdUI) {
  pCmdUI->Enable(true);
  pCmdUI->SetRadio(pCmdUI->GetID() == m_nLanguageChecked);
}

void CMainFrame::OnSelectLanguage(unsigned nID) {
  if (CCorvaneApp* app = CCorvaneApp::Instance()) app->m_Language.SelectLanguage(nID, false);
}

void CMainFrame::LaunchVirtualPort() { CToolLauncher::Launch(CToolLauncher(comm::GetAppPath).VirtualPort()); }
void CMainFrame::LaunchLadderStudio() { CToolLauncher::Launch(CToolLauncher(comm::GetAppPath).LadderStudio()); }
void CMainFrame::LaunchLadderPad() { CToolLauncher::Launch(CToolLauncher(comm::GetAppPath).LadderPad()); }
void CMainFrame::LaunchDriveTool() { CToolLauncher::Launch(CToolLauncher(comm::GetAppPath).DriveTool()); }
void CMainFrame::LaunchServoTool() { CToolLauncher::Launch(CToolLauncher(comm::GetAppPath).ServoTool()); }

void CMainFrame::LaunchCardTool() {
  const CCorvaneApp* app = CCorvaneApp::Instance();
  CToolLauncher::Launch(CToolLauncher(comm::GetAppPath).CardTool(app ? app->m_nLanguageID : 1033));
}
void CMainFrame::OnUpdateLaunchCardTool(CCmdUI* pCmdUI) { pCmdUI->Enable(true); }

void CMainFrame::OnUpdateToolbarToggle(CCmdUI* pCmdUI) {
  QToolBar* bar = ToolBar(pCmdUI->GetID());
  pCmdUI->Enable(bar != nullptr);
  pCmdUI->SetCheck(bar && !bar->isHidden() ? 1 : 0);
}

void CMainFrame::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  const QWidget* bar = pCmdUI->GetID() == cmd::ID_VIEW_WORKSPACE ? static_cast<QWidget*>(m_pDeviceTreePane)
                       : pCmdUI->GetID() == cmd::ID_VIEW_OUTPUT  ? static_cast<QWidget*>(m_pOutputPane)
                                                                  : static_cast<QWidget*>(statusBar());
  pCmdUI->Enable(bar != nullptr);
  pCmdUI->SetCheck(bar && !bar->isHidden() ? 1 : 0);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (CMyDocManager* dm = GetDocManager()) {
    if (!dm->SaveAllModified()) {
      event->ignore();
      return;
    }
    for (CDocument* d : dm->DocumentWalk()) d->SetModifiedFlag(false);
    dm->CloseAllDocuments();
  }
  event->accept();
}

}  // namespace corvane
