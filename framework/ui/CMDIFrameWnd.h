#pragma once
// The multiple-document main window: a tabbed MDI area, one QAction per command id, routing
// of commands (active document, its view, its frame, this frame, the application, then the
// document manager's standard file commands) and the update handlers, re-run whenever the
// state they read can have changed.
#include <map>

#include <QMainWindow>

#include "framework/FrameMessages.h"
#include "framework/ui/CCmdTarget.h"

class QMdiArea;
class QMenu;

namespace corvane {

class CMDIChildWnd;
class CMyDocManager;
class CCmdUI;

class CMDIFrameWnd : public QMainWindow, public CCmdTarget {
  Q_OBJECT
public:
  explicit CMDIFrameWnd(QWidget* parent = nullptr);
  ~CMDIFrameWnd() override;

  // The application's command target and document manager (neither owned; either may be null).
  void SetApp(CCmdTarget* pApp) { m_pApp = pApp; }
  CCmdTarget* GetApp() const { return m_pApp; }
  void SetDocManager(CMyDocManager* pDocManager) { m_pDocManager = pDocManager; }
  CMyDocManager* GetDocManager() const { return m_pDocManager; }

  QMdiArea* MdiArea() const { return m_pMdiArea; }
  CMDIChildWnd* MDIGetActive() const;
  void MDIActivate(CMDIChildWnd* pChild);

  // Window messages from modules and child frames; unknown ones give 0.
  virtual LRESULT SendMessage(unsigned message, WPARAM wParam, LPARAM lParam);

  // Runs a command along the route; returns whether someone handled it.
  bool OnCommand(unsigned nID);
  // Asks the route for a command's state; unhandled commands come back disabled.
  void RouteUpdate(CCmdUI& cmdUI);
  // The one action of a command id (created on first use, wired to OnCommand).
  QAction* CommandAction(unsigned nID);
  QAction* FindCommandAction(unsigned nID) const;
  // Re-runs the update handlers of every command, or of one menu's items.
  void UpdateCommandUI();
  void UpdateMenu(QMenu* pMenu);
  // Re-evaluates the menu's items each time it opens.
  void WatchMenu(QMenu* pMenu);

  // Called by templates and child frames when documents open or close.
  virtual void OnDocumentsChanged();

  // The frame's own title; the active document's title is added to it ("Corvane - XPC-PLC1").
  void SetFrameTitle(const QString& title);
  void UpdateFrameTitle();

protected:
  // Stops update handlers and routing before a derived frame tears its widgets down.
  void BeginDestroy();

private:
  void ApplyUpdate(unsigned nID, QAction* pAction);

  CCmdTarget* m_pApp = nullptr;
  CMyDocManager* m_pDocManager = nullptr;
  QMdiArea* m_pMdiArea;
  std::map<unsigned, QAction*> m_actions;
  QString m_strFrameTitle;
  bool m_bInCommand = false;
  bool m_bDestroying = false;
};

// The program's main frame, for modules and panes; null before it exists.
CMDIFrameWnd* AfxGetMainFrame();

}  // namespace corvane
