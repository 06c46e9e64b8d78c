#pragma once
// The workspace pane: open module documents under fixed network-type groups.
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

class CDeviceTreeWnd : public QWidget {
  Q_OBJECT
public:
  static constexpr int kTreeControlId = 11001;

  explicit CDeviceTreeWnd(QWidget* parent = nullptr);

  // The four fixed nodes, expanded. Returns success.
  bool InitTree();
  // Deletes every item, then InitTree.
  void ResetTree();

  QTreeWidget* Tree() const { return m_pTree; }
  QTreeWidgetItem* RootItem() const { return m_pRoot; }
  QTreeWidgetItem* EthernetItem() const { return m_pEthernet; }
  QTreeWidgetItem* CardItem() const { return m_pCard; }
  QTreeWidgetItem* SmxItem() const { return m_pSmx; }

private:
  QTreeWidget* m_pTree;
  QTreeWidgetItem* m_pRoot = nullptr;
  QTreeWidgetItem* m_pEthernet = nullptr;
  QTreeWidgetItem* m_pCard = nullptr;
  QTreeWidgetItem* m_pSmx = nullptr;
};

}  // namespace corvane
