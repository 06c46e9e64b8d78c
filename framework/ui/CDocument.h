#pragma once
// A document: title, path, modified mark and its views. Owned by its template; closing it
// closes its frames first, then the template destroys it.
#include <string>
#include <vector>

#include "framework/ui/CCmdTarget.h"

namespace corvane {

class CMyMultiDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
  CDocument() = default;
  ~CDocument() override;

  const std::string& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(const std::string& title);
  const std::string& GetPathName() const { return m_strPathName; }
  void SetPathName(const std::string& path) { m_strPathName = path; }
  bool IsModified() const { return m_bModified; }
  void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }
  CMyMultiDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  const std::vector<CView*>& GetViews() const { return m_views; }
  CView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
  void AddView(CView* pView);
  void RemoveView(CView* pView);

  virtual bool OnNewDocument();
  virtual bool OnOpenDocument(const std::string& path);
  virtual bool OnSaveDocument(const std::string& path);
  // Asks the user about unsaved changes; false means "cancel".
  virtual bool SaveModified();
  // Closes every frame of the document, then lets the template destroy it. Do not touch the
  // document after this returns.
  virtual void OnCloseDocument();
  virtual void DeleteContents() {}

private:
  friend class CMyMultiDocTemplate;
  void UpdateFrameTitles();

  std::string m_strTitle;
  std::string m_strPathName;
  bool m_bModified = false;
  CMyMultiDocTemplate* m_pDocTemplate = nullptr;
  std::vector<CView*> m_views;
};

}  // namespace corvane
