#include "framework/ui/CMDIFrameWnd.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "framework/ui/CCmdUI.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMyDocManager.h"
#include "framework/ui/CView.h"

namespace corvane {
namespace {
CMDIFrameWnd* g_mainFrame = nullptr;
}

CMDIFrameWnd* AfxGetMainFrame() { return g_mainFrame; }

CMDIFrameWnd::CMDIFrameWnd(QWidget* parent) : QMainWindow(parent), m_pMdiArea(new QMdiArea(this)) {
  g_mainFrame = this;
  m_pMdiArea->setViewMode(QMdiArea::TabbedView);
  m_pMdiArea->setDocumentMode(true);
  m_pMdiArea->setTabsClosable(true);
  m_pMdiArea->setTabsMovable(true);
  setCentralWidget(m_pMdiArea);
  connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    // A tab's window fills the area: one activated from its tab would otherwise come back at
    // the normal size it never had.
    if (window && !window->isMaximized()) window->showMaximized();
    UpdateFrameTitle();
    UpdateCommandUI();
  });
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateCommandUI(); });
}

CMDIFrameWnd::~CMDIFrameWnd() {
  BeginDestroy();
  if (g_mainFrame == this) g_mainFrame = nullptr;
}

void CMDIFrameWnd::BeginDestroy() {
  if (m_bDestroying) return;
  m_bDestroying = true;
  disconnect(qApp, nullptr, this, nullptr);
  if (m_pMdiArea) disconnect(m_pMdiArea, nullptr, this, nullptr);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const {
  if (m_bDestroying) return nullptr;
  return qobject_cast<CMDIChildWnd*>(m_pMdiArea->currentSubWindow());
}

void CMDIFrameWnd::MDIActivate(CMDIChildWnd* pChild) {
  if (pChild) m_pMdiArea->setActiveSubWindow(pChild);
}

LRESULT CMDIFrameWnd::SendMessage(unsigned, WPARAM, LPARAM) { return 0; }

bool CMDIFrameWnd::OnCommand(unsigned nID) {
  if (m_bDestroying) return false;
  bool handled = false;
  const bool outer = !m_bInCommand;
  m_bInCommand = true;
  CMDIChildWnd* child = MDIGetActive();
  CDocument* doc = child ? child->GetActiveDocument() : nullptr;
  CView* view = child ? child->GetActiveView() : nullptr;
  if (doc && doc->OnCmdMsg(nID, nullptr)) handled = true;
  else if (view && view->OnCmdMsg(nID, nullptr)) handled = true;
  else if (child && child->OnCmdMsg(nID, nullptr)) handled = true;
  else if (CCmdTarget::OnCmdMsg(nID, nullptr)) handled = true;
  else if (m_pApp && m_pApp->OnCmdMsg(nID, nullptr)) handled = true;
  else if (m_pDocManager && m_pDocManager->OnCmdMsg(nID, nullptr)) handled = true;
  if (outer) {
    m_bInCommand = false;
    UpdateCommandUI();  // a command can change what the toolbar should show
  }
  return handled;
}

void CMDIFrameWnd::RouteUpdate(CCmdUI& cmdUI) {
  const unsigned id = cmdUI.GetID();
  CMDIChildWnd* child = MDIGetActive();
  CDocument* doc = child ? child->GetActiveDocument() : nullptr;
  CView* view = child ? child->GetActiveView() : nullptr;
  if (doc && doc->OnCmdMsg(id, &cmdUI)) return;
  if (view && view->OnCmdMsg(id, &cmdUI)) return;
  if (child && child->OnCmdMsg(id, &cmdUI)) return;
  if (CCmdTarget::OnCmdMsg(id, &cmdUI)) return;
  if (m_pApp && m_pApp->OnCmdMsg(id, &cmdUI)) return;
  if (m_pDocManager && m_pDocManager->OnCmdMsg(id, &cmdUI)) return;
  cmdUI.Enable(false);
}

QAction* CMDIFrameWnd::FindCommandAction(unsigned nID) const {
  auto it = m_actions.find(nID);
  return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMDIFrameWnd::CommandAction(unsigned nID) {
  if (QAction* a = FindCommandAction(nID)) return a;
  auto* a = new QAction(this);
  a->setData(nID);
  connect(a, &QAction::triggered, this, [this, nID] { OnCommand(nID); });
  m_actions.emplace(nID, a);
  if (!m_bDestroying) ApplyUpdate(nID, a);  // a new button is never stale either
  return a;
}

void CMDIFrameWnd::ApplyUpdate(unsigned nID, QAction* pAction) {
  CCmdUI cmdUI(nID, pAction);
  RouteUpdate(cmdUI);
  if (cmdUI.WasEnableSet()) pAction->setEnabled(cmdUI.IsEnabled());
  if (cmdUI.WasCheckSet()) {
    pAction->setCheckable(true);
    pAction->setChecked(cmdUI.GetCheck() != 0);
  } else if (pAction->isCheckable()) {
    pAction->setChecked(false);
  }
}

void CMDIFrameWnd::UpdateCommandUI() {
  if (m_bDestroying) return;
  for (auto& [id, action] : m_actions) ApplyUpdate(id, action);
}

void CMDIFrameWnd::UpdateMenu(QMenu* pMenu) {
  if (!pMenu || m_bDestroying) return;
  for (QAction* a : pMenu->actions()) {
    bool ok = false;
    const unsigned id = a->data().toUInt(&ok);
    if (ok && id != 0) ApplyUpdate(id, a);
  }
}

void CMDIFrameWnd::WatchMenu(QMenu* pMenu) {
  connect(pMenu, &QMenu::aboutToShow, this, [this, pMenu] { UpdateMenu(pMenu); });
}

void CMDIFrameWnd::OnDocumentsChanged() {
  if (m_bDestroying) return;
  UpdateFrameTitle();
  UpdateCommandUI();
}

void CMDIFrameWnd::SetFrameTitle(const QString& title) {
  m_strFrameTitle = title;
  UpdateFrameTitle();
}

void CMDIFrameWnd::UpdateFrameTitle() {
  if (m_bDestroying) return;
  const CMDIChildWnd* child = MDIGetActive();
  const CDocument* doc = child ? child->GetActiveDocument() : nullptr;
  setWindowTitle(doc && !doc->GetTitle().empty()
                     ? m_strFrameTitle + QStringLiteral(" - ") + QString::fromStdString(doc->GetTitle())
                     : m_strFrameTitle);
}

}  // namespace corvane
