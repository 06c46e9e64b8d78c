#pragma once
// Owns the document templates in registration order and walks their documents. Last on the
// command route, it answers the framework's standard New (57600), Open (57601) and Print
// Setup (57606).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/CCmdTarget.h"
#include "platform/IPrompts.h"

namespace corvane {

class CDocument;
class CMyMultiDocTemplate;
class CNewTypeDlg;

class CMyDocManager : public CCmdTarget {
public:
  CMyDocManager();
  CMyDocManager(const CMyDocManager&) = delete;
  CMyDocManager& operator=(const CMyDocManager&) = delete;
  // Closes every document, then deletes the templates in registration order.
  virtual ~CMyDocManager();

  // Takes ownership; null is ignored.
  void AddDocTemplate(CMyMultiDocTemplate* pTemplate);
  std::size_t GetTemplateCount() const { return m_templates.size(); }
  CMyMultiDocTemplate* GetTemplate(std::size_t i) const;  // from 0

  // n counts from 1 (0 means the first template); false when n exceeds the count.
  bool OpenNewDocument(int n);
  std::size_t GetOpenDocumentCount() const;
  // Templates in order, each one's documents in order, each put at the front: the last
  // document of the last template comes first.
  std::vector<CDocument*> DocumentWalk() const;
  // Runs a command on every open document in walk order; each ignores what it does not handle.
  void SendCommandToDocuments(unsigned nID) const;

  bool SaveAllModified() const;
  void CloseAllDocuments();

  // 57600: a new document of the only template, or of the one picked in the "New" dialog.
  virtual void OnFileNew();
  // 57601: the open-file dialog; the file picked goes to FileOpener (the application's entry
  // for files), or without one to the template whose extension it has.
  virtual void OnFileOpen();
  std::function<void(const std::string&)> FileOpener;
  // The dialog's filter and extension for the files FileOpener takes; without it the
  // templates' own filters and "All Files".
  std::function<FileDialogRequest()> FileOpenDialog;
  // 57606: the page set-up of the printer that printing and preview use.
  virtual void OnFilePrintSetup();
  // Tests answer the "New" dialog through this instead of running it.
  std::function<int(CNewTypeDlg&)> NewTypeDialogHook;

private:
  FileDialogRequest TemplateFileDialog() const;

  std::vector<std::unique_ptr<CMyMultiDocTemplate>> m_templates;
};

}  // namespace corvane
