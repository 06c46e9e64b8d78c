#pragma once
// The framework's "New" dialog: the templates that can make a new document, by their
// new-document names, to pick one from.
#include <vector>

#include <QDialog>

class QListWidget;

namespace corvane {

class CMyMultiDocTemplate;

class CNewTypeDlg : public QDialog {
  Q_OBJECT
public:
  // The first template is selected; templates without a new-document name are not offered.
  explicit CNewTypeDlg(const std::vector<CMyMultiDocTemplate*>& templates, QWidget* parent = nullptr);

  QListWidget* TypeList() const { return m_pList; }
  // The template picked when the dialog was accepted; null otherwise.
  CMyMultiDocTemplate* SelectedTemplate() const;

private:
  QListWidget* m_pList;
  std::vector<CMyMultiDocTemplate*> m_templates;
};

}  // namespace corvane
