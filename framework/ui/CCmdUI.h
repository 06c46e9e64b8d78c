#pragma once
// What an update handler says about one command: enabled, checked, radio. The frame applies
// the answer to the command's menu items and toolbar buttons.
class QAction;

namespace corvane {

class CCmdUI {
public:
  explicit CCmdUI(unsigned nID, QAction* pAction = nullptr) : m_nID(nID), m_pAction(pAction) {}

  void Enable(bool bOn = true) { m_bEnabled = bOn; m_bEnableSet = true; }
  void SetCheck(int nCheck = 1) { m_nCheck = nCheck; m_bCheckSet = true; }
  void SetRadio(bool bOn = true) { m_nCheck = bOn ? 1 : 0; m_bCheckSet = true; m_bRadio = true; }

  unsigned GetID() const { return m_nID; }
  // The menu item or button being updated; null when asked without one. A handler that
  // fills a submenu reaches it through the action's menu().
  QAction* GetAction() const { return m_pAction; }

  bool IsEnabled() const { return m_bEnabled; }
  bool WasEnableSet() const { return m_bEnableSet; }
  int GetCheck() const { return m_nCheck; }
  bool WasCheckSet() const { return m_bCheckSet; }
  bool IsRadio() const { return m_bRadio; }

private:
  unsigned m_nID;
  QAction* m_pAction;
  bool m_bEnabled = true;
  bool m_bEnableSet = false;
  int m_nCheck = 0;
  bool m_bCheckSet = false;
  bool m_bRadio = false;
};

}  // namespace corvane
