#include "framework/ui/CCmdTarget.h"

#include "framework/ui/CCmdUI.h"

namespace corvane {

bool CCmdTarget::OnCmdMsg(unsigned nID, CCmdUI* pCmdUI) {
  if (pCmdUI) {
    for (const auto& e : m_updates) {
      if (nID >= e.first && nID <= e.last) {
        e.fn(pCmdUI);
        return true;
      }
    }
  }
  for (const auto& e : m_commands) {
    if (nID >= e.first && nID <= e.last) {
      if (pCmdUI)
        pCmdUI->Enable(true);
      else
        e.fn(nID);
      return true;
    }
  }
  return false;
}

void CCmdTarget::MapCommand(unsigned nID, std::function<void()> handler) {
  m_commands.push_back({nID, nID, [h = std::move(handler)](unsigned) { h(); }});
}

void CCmdTarget::MapCommandRange(unsigned nFirst, unsigned nLast, std::function<void(unsigned)> handler) {
  m_commands.push_back({nFirst, nLast, std::move(handler)});
}

void CCmdTarget::MapUpdate(unsigned nID, std::function<void(CCmdUI*)> handler) {
  m_updates.push_back({nID, nID, std::move(handler)});
}

void CCmdTarget::MapUpdateRange(unsigned nFirst, unsigned nLast, std::function<void(CCmdUI*)> handler) {
  m_updates.push_back({nFirst, nLast, std::move(handler)});
}

}  // namespace corvane
