#include "discovery/ui/CDeviceTreeWnd.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "framework/ui/CResourceIcons.h"
#include "resources/CStringTable.h"

namespace corvane {
namespace {

// Image i of the tree is icon 405 + i.
QIcon TreeImage(int i) { return LoadIcon(405 + static_cast<unsigned>(i)); }

QTreeWidgetItem* AddFixed(QTreeWidget* tree, QTreeWidgetItem* parent, unsigned stringId, int image) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
  item->setText(0, QString::fromStdString(LoadString(stringId)));
  item->setIcon(0, TreeImage(image));
  item->setData(0, Qt::UserRole, QVariant::fromValue<quintptr>(0));
  return item;
}

}  // namespace

CDeviceTreeWnd::CDeviceTreeWnd(QWidget* parent) : QWidget(parent), m_pTree(new QTreeWidget(this)) {
  m_pTree->setObjectName(QStringLiteral("DeviceTree"));
  m_pTree->setHeaderHidden(true);
  m_pTree->setRootIsDecorated(true);
  m_pTree->setDragDropMode(QAbstractItemView::NoDragDrop);
  m_pTree->setIconSize(QSize(16, 16));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_pTree);
  InitTree();
}

bool CDeviceTreeWnd::InitTree() {
  m_pRoot = AddFixed(m_pTree, nullptr, 509, 1);
  m_pEthernet = AddFixed(m_pTree, m_pRoot, 510, 3);
  m_pCard = AddFixed(m_pTree, m_pRoot, 512, 4);
  m_pSmx = AddFixed(m_pTree, m_pRoot, 513, 5);
  m_pTree->expandAll();
  return true;
}

void CDeviceTreeWnd::ResetTree() {
  m_pTree->clear();
  m_pRoot = m_pEthernet = m_pCard = m_pSmx = nullptr;
  InitTree();
}

}  // namespace corvane
