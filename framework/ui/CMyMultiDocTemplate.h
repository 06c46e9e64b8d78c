#pragma once
// A document template: makes documents, their child frames and views, and owns the documents.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

class CDocument;
class CMDIChildWnd;
class CView;

class CMyMultiDocTemplate {
public:
  using DocFactory = std::function<std::unique_ptr<CDocument>()>;
  using FrameFactory = std::function<CMDIChildWnd*()>;
  using ViewFactory = std::function<CView*()>;

  // A null frame factory takes the host's default child frame (SetDefaultFrameFactory).
  CMyMultiDocTemplate(unsigned nIDResource, DocFactory doc, FrameFactory frame, ViewFactory view,
                      void* hResource = nullptr);
  CMyMultiDocTemplate(const CMyMultiDocTemplate&) = delete;
  CMyMultiDocTemplate& operator=(const CMyMultiDocTemplate&) = delete;
  virtual ~CMyMultiDocTemplate();

  // The resource module the template's menus and strings come from; null is the program.
  void* m_hResource;
  unsigned m_nIDResource;

  // "\nDocName\nNewName\nFilter\nExt\nTypeId\nTypeName"; index 0 is the window title.
  void SetDocString(const std::string& docString) { m_strDocStrings = docString; }
  std::string GetDocString(int index) const;

  virtual void LoadTemplate();
  // path null: a new, untitled document. Returns the document or null.
  virtual CDocument* OpenDocumentFile(const char* path, bool bMakeVisible = true);

  std::size_t GetDocumentCount() const { return m_docs.size(); }
  CDocument* GetDocument(std::size_t i) const { return i < m_docs.size() ? m_docs[i].get() : nullptr; }
  // Destroys a document of this template (its frames must be gone already).
  void RemoveDocument(CDocument* pDoc);
  void CloseAllDocuments();

  static void SetDefaultFrameFactory(FrameFactory factory);

private:
  CMDIChildWnd* CreateNewFrame();

  DocFactory m_docFactory;
  FrameFactory m_frameFactory;
  ViewFactory m_viewFactory;
  std::string m_strDocStrings;
  unsigned m_nUntitledCount = 0;
  std::vector<std::unique_ptr<CDocument>> m_docs;
};

// The resource module currently in use by the framework (null: the program).
void* AfxGetResourceHandle();
void AfxSetResourceHandle(void* hResource);

}  // namespace corvane
