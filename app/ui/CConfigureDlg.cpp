#include "app/ui/CConfigureDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/CModuleCatalogue.h"
#include "framework/ui/CResourceIcons.h"
#include "resources/CStringTable.h"
#include "settings/meStringArray.h"

namespace corvane {

CConfigureDlg::CConfigureDlg(const CModuleCatalogue& catalogue, const meStringArray& openModuleFiles,
                             meStringArray& selected, QWidget* parent)
    : QDialog(parent), m_pTree(new QTreeWidget(this)) {
  setObjectName("655");
  setWindowTitle(tr("Configure"));
  m_pTree->setObjectName("11300");
  m_pTree->setHeaderHidden(true);

  auto* root = new QTreeWidgetItem(m_pTree);
  root->setText(0, QString::fromStdString(LoadString(509)));
  root->setIcon(0, QIcon(LoadBitmap(208)));
  int nextId = 1;
  for (const CatalogueEntry& entry : catalogue.Entries()) {
    const QString group = QString::fromStdString(entry.networkType);
    QTreeWidgetItem* groupItem = nullptr;
    for (int i = 0; i < root->childCount(); ++i)
      if (root->child(i)->text(0) == group) groupItem = root->child(i);
    if (!groupItem) {
      groupItem = new QTreeWidgetItem(root);
      groupItem->setText(0, group);
      groupItem->setIcon(0, QIcon(LoadBitmap(209)));
    }
    const QString name = QString::fromStdString(entry.name);
    bool listed = false;
    for (int i = 0; i < groupItem->childCount(); ++i) listed |= groupItem->child(i)->text(0) == name;
    // The host's module file suffix is ".so".
    if (listed || openModuleFiles.Find(entry.name + ".so") >= 0) continue;
    auto* check = new QTreeWidgetItem(groupItem);
    check->setText(0, name);
    check->setFlags(check->flags() | Qt::ItemIsUserCheckable);
    check->setCheckState(0, Qt::Unchecked);
    check->setData(0, Qt::UserRole, nextId++);
  }
  m_pTree->expandAll();

  connect(m_pTree, &QTreeWidget::itemChanged, this, [&selected](QTreeWidgetItem* item) {
    if (!item->data(0, Qt::UserRole).isValid()) return;
    const std::string name = item->text(0).toStdString();
    const int at = selected.Find(name);
    if (item->checkState(0) == Qt::Checked) {
      if (at < 0) selected.Add(name);
    } else if (at >= 0) {
      selected.RemoveAt(at);
    }
  });

  auto* box = new QGroupBox(tr("Module Selection"), this);
  auto* boxLayout = new QVBoxLayout(box);
  boxLayout->addWidget(m_pTree);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addWidget(buttons);
  resize(320, 400);
}

}  // namespace corvane
