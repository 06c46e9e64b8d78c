#include "discovery/ui/CDeviceTreeWnd.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <vector>

#include "framework/CommandIds.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "settings/meStringArray.h"

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
  m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pTree->setContextMenuPolicy(Qt::NoContextMenu);  // the pane's own menu does nothing
  m_pTree->viewport()->installEventFilter(this);
  connect(m_pTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (current) ActivateModuleWindow(reinterpret_cast<CMDIChildWnd*>(current->data(0, Qt::UserRole).value<quintptr>()));
  });
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

namespace {
CMDIChildWnd* WindowOf(const QTreeWidgetItem* item) {
  return item ? reinterpret_cast<CMDIChildWnd*>(item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}
}  // namespace

void CDeviceTreeWnd::AddModuleNode(const std::string& group, const std::string& text) {
  CMDIFrameWnd* frame = AfxGetMainFrame();
  CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
  if (!child) return;
  if (!FindNode(child)) {
    QTreeWidgetItem* parent = group == "Ethernet"             ? m_pEthernet
                              : group == "Communication Card" ? m_pCard
                              : group == "SMX"                ? m_pSmx
                                                              : m_pRoot;
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, child->windowTitle());
    item->setIcon(0, TreeImage(0));
    item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(child)));
  }
  if (QTreeWidgetItem* node = FindNode(child)) node->setText(0, QString::fromStdString(text));
  m_pTree->viewport()->update();
}

QTreeWidgetItem* CDeviceTreeWnd::FindNode(CMDIChildWnd* window) const {
  if (!window) return nullptr;
  // Visible order with an explicit stack: children of collapsed items are not visited.
  std::vector<QTreeWidgetItem*> stack;
  for (int i = m_pTree->topLevelItemCount() - 1; i >= 0; --i) stack.push_back(m_pTree->topLevelItem(i));
  while (!stack.empty()) {
    QTreeWidgetItem* item = stack.back();
    stack.pop_back();
    if (WindowOf(item) == window) return item;
    if (item->isExpanded())
      for (int i = item->childCount() - 1; i >= 0; --i) stack.push_back(item->child(i));
  }
  return nullptr;
}

void CDeviceTreeWnd::RemoveModuleNode(CMDIChildWnd* window) {
  // Collapsed groups too: a closed window must not leave a node behind.
  std::vector<QTreeWidgetItem*> stack;
  for (int i = 0; i < m_pTree->topLevelItemCount(); ++i) stack.push_back(m_pTree->topLevelItem(i));
  while (!stack.empty()) {
    QTreeWidgetItem* item = stack.back();
    stack.pop_back();
    if (window && WindowOf(item) == window) {
      delete item;
      return;
    }
    for (int i = 0; i < item->childCount(); ++i) stack.push_back(item->child(i));
  }
}

void CDeviceTreeWnd::ActivateModuleWindow(CMDIChildWnd* window) {
  CMDIFrameWnd* frame = AfxGetMainFrame();
  if (!window || !frame) return;
  frame->setUpdatesEnabled(false);
  frame->MDIActivate(window);
  m_pTree->activateWindow();
  m_pTree->setFocus();
  frame->setUpdatesEnabled(true);
}

void CDeviceTreeWnd::OnModuleClosed(meStringArray& openModuleFiles, meStringArray& openModuleCodes) {
  CMDIFrameWnd* frame = AfxGetMainFrame();
  CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
  if (!child) return;
  std::string title = child->windowTitle().toStdString();
  if (title == "QCX-ENT01/02") title = "QCX-ENT02";
  const int i = openModuleFiles.Find(title + ".so");
  if (i < 0) return;
  openModuleFiles.RemoveAt(i);
  if (i < openModuleCodes.GetSize()) openModuleCodes.RemoveAt(i);
  RemoveModuleNode(child);
}

bool CDeviceTreeWnd::IsOnItemLabel(const QPoint& point) const {
  QTreeWidgetItem* item = m_pTree->itemAt(point);
  if (!item) return false;
  const QRect row = m_pTree->visualItemRect(item);
  const int iconWidth = m_pTree->iconSize().width() + 4;
  const int textWidth = m_pTree->fontMetrics().horizontalAdvance(item->text(0)) + 6;
  const int labelLeft = row.left() + iconWidth;
  return point.x() >= labelLeft && point.x() < labelLeft + textWidth;
}

void CDeviceTreeWnd::OnContextMenu(const QPoint& point) {
  QTreeWidgetItem* item = m_pTree->itemAt(point);
  if (!item) return;
  m_pTree->setCurrentItem(item);
  if (!IsOnItemLabel(point)) return;
  QMenu menu(this);
  QAction* configure = menu.addAction(tr("Configure"));  // menu 137, command 15051
  if (menu.exec(m_pTree->viewport()->mapToGlobal(point)) == configure)
    if (CMDIFrameWnd* frame = AfxGetMainFrame()) frame->OnCommand(cmd::ID_CONFIGURE);
}

bool CDeviceTreeWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pTree->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      OnContextMenu(mouse->position().toPoint());
      return true;
    }
    if (mouse->button() == Qt::LeftButton && m_pTree->currentItem())
      ActivateModuleWindow(WindowOf(m_pTree->currentItem()));
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
