#include "framework/ui/CDocument.h"

#include <algorithm>

#include <QCoreApplication>
#include <QMdiArea>

#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CView.h"
#include "platform/IPrompts.h"

namespace corvane {

CDocument::~CDocument() {
  for (CView* v : m_views) v->m_pDocument = nullptr;
}

void CDocument::SetTitle(const std::string& title) {
  m_strTitle = title;
  UpdateFrameTitles();
}

void CDocument::UpdateFrameTitles() {
  for (CView* v : m_views)
    if (CMDIChildWnd* f = v->GetParentFrame()) f->setWindowTitle(QString::fromStdString(m_strTitle));
  if (CMDIFrameWnd* main = AfxGetMainFrame()) main->UpdateFrameTitle();
}

void CDocument::AddView(CView* pView) {
  if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end()) return;
  m_views.push_back(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  auto it = std::find(m_views.begin(), m_views.end(), pView);
  if (it == m_views.end()) return;
  m_views.erase(it);
  pView->m_pDocument = nullptr;
}

bool CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.clear();
  SetModifiedFlag(false);
  return true;
}

bool CDocument::OnOpenDocument(const std::string& path) {
  DeleteContents();
  m_strPathName = path;
  SetModifiedFlag(false);
  return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
  m_strPathName = path;
  SetModifiedFlag(false);
  return true;
}

bool CDocument::SaveModified() {
  if (!IsModified()) return true;
  // The title replaces its mark; a translated text is never a format.
  std::string text = TranslateText("Framework", CVN_STR("Framework", "Save changes to %1?"));
  if (const auto mark = text.find("%1"); mark != std::string::npos) text.replace(mark, 2, m_strTitle);
  const int answer = Prompts().MessageBox(text, "Corvane",
                                          PromptButtons::YesNoCancel, PromptIcon::Question);
  if (answer == IDCANCEL) return false;
  if (answer == IDYES) return OnSaveDocument(m_strPathName);
  return true;
}

void CDocument::OnCloseDocument() {
  // Frames go first; they are deleted later because the close may come from inside one of them.
  const std::vector<CView*> views = m_views;
  for (CView* v : views) {
    CMDIChildWnd* frame = v->GetParentFrame();
    RemoveView(v);
    if (!frame) continue;
    frame->DetachFromArea();
    frame->deleteLater();
  }
  DeleteContents();
  if (m_pDocTemplate)
    m_pDocTemplate->RemoveDocument(this);  // destroys this
}

}  // namespace corvane
