#include "framework/ui/CMyDocManager.h"

#include <algorithm>
#include <deque>

#include "framework/ui/CDocument.h"
#include "framework/ui/CMyMultiDocTemplate.h"

namespace corvane {

CMyDocManager::~CMyDocManager() {
  CloseAllDocuments();
  for (auto& t : m_templates) t.reset();
}

void CMyDocManager::AddDocTemplate(CMyMultiDocTemplate* pTemplate) {
  if (!pTemplate) return;
  pTemplate->LoadTemplate();
  m_templates.emplace_back(pTemplate);
}

CMyMultiDocTemplate* CMyDocManager::GetTemplate(std::size_t i) const {
  return i < m_templates.size() ? m_templates[i].get() : nullptr;
}

bool CMyDocManager::OpenNewDocument(int n) {
  if (n < 0 || m_templates.empty() || static_cast<std::size_t>(n) > m_templates.size()) return false;
  CMyMultiDocTemplate* t = m_templates[n == 0 ? 0 : n - 1].get();
  t->OpenDocumentFile(nullptr, true);
  return true;
}

std::size_t CMyDocManager::GetOpenDocumentCount() const {
  std::size_t n = 0;
  for (const auto& t : m_templates) n += t->GetDocumentCount();
  return n;
}

std::vector<CDocument*> CMyDocManager::DocumentWalk() const {
  std::deque<CDocument*> list;
  for (const auto& t : m_templates)
    for (std::size_t i = 0; i < t->GetDocumentCount(); ++i) list.push_front(t->GetDocument(i));
  return {list.begin(), list.end()};
}

void CMyDocManager::SendCommandToDocuments(unsigned nID) const {
  // A handler may close documents; those still to come are checked before each call.
  for (CDocument* d : DocumentWalk()) {
    const std::vector<CDocument*> open = DocumentWalk();
    if (std::find(open.begin(), open.end(), d) != open.end()) d->OnCmdMsg(nID, nullptr);
  }
}

bool CMyDocManager::SaveAllModified() const {
  for (CDocument* d : DocumentWalk())
    if (!d->SaveModified()) return false;
  return true;
}

void CMyDocManager::CloseAllDocuments() {
  for (auto& t : m_templates) t->CloseAllDocuments();
}

}  // namespace corvane
