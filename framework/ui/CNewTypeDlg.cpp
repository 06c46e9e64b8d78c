#include "framework/ui/CNewTypeDlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "framework/ui/CMyMultiDocTemplate.h"
#include "resources/CResourceModule.h"
#include "resources/CStringTable.h"

namespace corvane {

CNewTypeDlg::CNewTypeDlg(const std::vector<CMyMultiDocTemplate*>& templates, QWidget* parent)
    : QDialog(parent), m_pList(new QListWidget(this)) {
  setWindowTitle(QString::fromStdString(TranslateText("Framework", CVN_STR("Framework", "New"))));
  m_pList->setObjectName(QStringLiteral("NewTypeList"));
  for (CMyMultiDocTemplate* t : templates) {
    const std::string name = t ? t->GetDocString(2) : std::string();
    if (name.empty()) continue;
    m_templates.push_back(t);
    m_pList->addItem(QString::fromStdString(name));
  }
  if (m_pList->count() > 0) m_pList->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_pList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pList);
  layout->addWidget(buttons);
}

CMyMultiDocTemplate* CNewTypeDlg::SelectedTemplate() const {
  if (result() != QDialog::Accepted) return nullptr;
  const int row = m_pList->currentRow();
  return row >= 0 && static_cast<std::size_t>(row) < m_templates.size() ? m_templates[static_cast<std::size_t>(row)]
                                                                         : nullptr;
}

}  // namespace corvane
