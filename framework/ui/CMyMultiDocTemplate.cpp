#include "framework/ui/CMyMultiDocTemplate.h"

#include <algorithm>

#include <QMdiArea>

#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

void* g_hResource = nullptr;
CMyMultiDocTemplate::FrameFactory g_defaultFrame;

// Makes a resource module current for one operation.
class ResourceScope {
public:
  explicit ResourceScope(void* h) : m_prev(AfxGetResourceHandle()) { if (h) AfxSetResourceHandle(h); }
  ~ResourceScope() { AfxSetResourceHandle(m_prev); }
  ResourceScope(const ResourceScope&) = delete;
  ResourceScope& operator=(const ResourceScope&) = delete;

private:
  void* m_prev;
};

}  // namespace

void* AfxGetResourceHandle() { return g_hResource; }
void AfxSetResourceHandle(void* hResource) { g_hResource = hResource; }

void CMyMultiDocTemplate::SetDefaultFrameFactory(FrameFactory factory) { g_defaultFrame = std::move(factory); }

CMyMultiDocTemplate::CMyMultiDocTemplate(unsigned nIDResource, DocFactory doc, FrameFactory frame,
                                         ViewFactory view, void* hResource)
    : m_hResource(hResource),
      m_nIDResource(nIDResource),
      m_docFactory(std::move(doc)),
      m_frameFactory(std::move(frame)),
      m_viewFactory(std::move(view)) {}

CMyMultiDocTemplate::~CMyMultiDocTemplate() { CloseAllDocuments(); }

std::string CMyMultiDocTemplate::GetDocString(int index) const {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = m_strDocStrings.find('\n', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const std::size_t end = m_strDocStrings.find('\n', start);
  return m_strDocStrings.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void CMyMultiDocTemplate::LoadTemplate() {
  ResourceScope scope(m_hResource);
  if (m_strDocStrings.empty() && !m_hResource) m_strDocStrings = LoadString(m_nIDResource);
}

CMDIChildWnd* CMyMultiDocTemplate::CreateNewFrame() {
  if (m_frameFactory) return m_frameFactory();
  if (g_defaultFrame) return g_defaultFrame();
  return new CMDIChildWnd;
}

CDocument* CMyMultiDocTemplate::OpenDocumentFile(const char* path, bool bMakeVisible) {
  ResourceScope scope(m_hResource);
  if (!m_docFactory) return nullptr;
  std::unique_ptr<CDocument> owned = m_docFactory();
  if (!owned) return nullptr;
  CDocument* doc = owned.get();
  doc->m_pDocTemplate = this;
  m_docs.push_back(std::move(owned));

  CMDIChildWnd* frame = CreateNewFrame();
  CView* view = m_viewFactory ? m_viewFactory() : nullptr;
  if (!view) view = new CView;
  frame->setWidget(view);
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  doc->AddView(view);

  if (!path) {
    const std::string newName = GetDocString(2).empty() ? std::string("Untitled") : GetDocString(2);
    doc->SetTitle(newName + std::to_string(++m_nUntitledCount));
  }
  const bool ok = path ? doc->OnOpenDocument(path) : doc->OnNewDocument();
  if (!ok) {
    doc->RemoveView(view);
    delete frame;
    RemoveDocument(doc);
    return nullptr;
  }
  doc->UpdateFrameTitles();

  CMDIFrameWnd* main = AfxGetMainFrame();
  if (main) main->MdiArea()->addSubWindow(frame);
  // A frame maximised before it had its area was given no geometry (it stays at its first, tiny
  // size over the previous document), and maximising it again would change nothing.
  if (frame->isMaximized()) frame->setWindowState(frame->windowState() & ~Qt::WindowMaximized);
  view->OnInitialUpdate();
  if (bMakeVisible) {
    frame->show();
    if (main) main->MdiArea()->setActiveSubWindow(frame);
    frame->showMaximized();  // after activation, which would restore it otherwise
  }
  if (main) main->OnDocumentsChanged();
  return doc;
}

void CMyMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
  auto it = std::find_if(m_docs.begin(), m_docs.end(), [pDoc](const auto& d) { return d.get() == pDoc; });
  if (it == m_docs.end()) return;
  std::unique_ptr<CDocument> dying = std::move(*it);
  m_docs.erase(it);
  dying.reset();
  if (CMDIFrameWnd* main = AfxGetMainFrame()) main->OnDocumentsChanged();
}

void CMyMultiDocTemplate::CloseAllDocuments() {
  while (!m_docs.empty()) {
    const std::size_t before = m_docs.size();
    m_docs.back()->OnCloseDocument();
    if (m_docs.size() == before) m_docs.pop_back();  // a document that did not remove itself
  }
}

}  // namespace corvane
