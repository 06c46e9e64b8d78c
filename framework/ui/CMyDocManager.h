#pragma once
// Owns the document templates in registration order and walks their documents.
#include <memory>
#include <vector>

namespace corvane {

class CDocument;
class CMyMultiDocTemplate;

class CMyDocManager {
public:
  CMyDocManager() = default;
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

private:
  std::vector<std::unique_ptr<CMyMultiDocTemplate>> m_templates;
};

}  // namespace corvane
