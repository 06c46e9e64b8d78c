#include "framework/ui/CMyDocManager.h"

#include <algorithm>
#include <deque>

#include <QPageSetupDialog>
#include <QPrinter>

#include "framework/CommandIds.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CMyMultiDocTemplate.h"
#include "framework/ui/CNewTypeDlg.h"
#include "framework/ui/CPrinting.h"
#include "platform/IPrompts.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"
#include "settings/AsciiText.h"

namespace corvane {
namespace {

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
  return !tail.empty() && tail.size() <= s.size() &&
         ascii::SameNoCase(std::string_view(s).substr(s.size() - tail.size()), tail);
}

}  // namespace

CMyDocManager::CMyDocManager() {
  MapCommand(cmd::ID_FILE_NEW, [this] { OnFileNew(); });
  MapCommand(cmd::ID_FILE_OPEN, [this] { OnFileOpen(); });
  MapCommand(cmd::ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
}

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

void CMyDocManager::OnFileNew() {
  if (m_templates.empty()) return;
  CMyMultiDocTemplate* chosen = m_templates.front().get();
  if (m_templates.size() > 1) {
    std::vector<CMyMultiDocTemplate*> all;
    for (const auto& t : m_templates) all.push_back(t.get());
    CNewTypeDlg dlg(all, AfxGetMainFrame());
    const int result = NewTypeDialogHook ? NewTypeDialogHook(dlg) : dlg.exec();
    dlg.setResult(result);
    chosen = dlg.SelectedTemplate();
  }
  if (chosen) chosen->OpenDocumentFile(nullptr, true);
}

FileDialogRequest CMyDocManager::TemplateFileDialog() const {
  FileDialogRequest request;
  for (const auto& t : m_templates) {
    const std::string name = t->GetDocString(3);
    const std::string ext = t->GetDocString(4);
    if (name.empty() || ext.empty()) continue;
    request.filter += name + "|*" + ext + "|";
    if (request.defaultExt.empty()) request.defaultExt = ext;
  }
  request.filter += TranslateText("Framework", CVN_STR("Framework", "All Files (*)")) + "|*||";
  return request;
}

void CMyDocManager::OnFileOpen() {
  const FileDialogRequest request = FileOpener && FileOpenDialog ? FileOpenDialog() : TemplateFileDialog();
  const std::optional<std::string> path = Prompts().OpenFileName(request);
  if (!path || path->empty()) return;
  if (FileOpener) {
    FileOpener(*path);
    return;
  }
  for (const auto& t : m_templates) {
    if (EndsWithNoCase(*path, t->GetDocString(4))) {
      t->OpenDocumentFile(path->c_str(), true);
      return;
    }
  }
}

void CMyDocManager::OnFilePrintSetup() {
  QPrinter& printer = AfxGetPrinter();
  // Page set-up works only on a printer of the system: with none installed it would open nothing.
  if (printer.outputFormat() != QPrinter::NativeFormat) {
    Prompts().MessageBox(TranslateText("Framework", CVN_STR("Framework", "No printer is installed.")),
                         LoadString(57344), PromptButtons::Ok, PromptIcon::Information);
    return;
  }
  QPageSetupDialog dlg(&printer, AfxGetMainFrame());
  AfxRunPrintDialog(dlg);
}

}  // namespace corvane
