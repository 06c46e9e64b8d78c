#pragma once
// The workspace pane: open module documents under fixed network-type groups.
#include <string>

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

class CMDIChildWnd;
class meStringArray;

class CDeviceTreeWnd : public QWidget {
  Q_OBJECT
public:
  static constexpr int kTreeControlId = 11001;

  explicit CDeviceTreeWnd(QWidget* parent = nullptr);

  // The four fixed nodes, expanded. Returns success.
  bool InitTree();
  // Deletes every item, then InitTree.
  void ResetTree();

  // A node for the frame's active child under its group (exact name), else under the root;
  // a second call for the same child only sets the text.
  void AddModuleNode(const std::string& group, const std::string& text);
  void RemoveModuleNode(CMDIChildWnd* window);
  // Over the visible items only: a collapsed group hides its nodes.
  QTreeWidgetItem* FindNode(CMDIChildWnd* window) const;
  void ActivateModuleWindow(CMDIChildWnd* window);
  // The active child closes: its library leaves the open-module lists and its node goes.
  void OnModuleClosed(meStringArray& openModuleFiles, meStringArray& openModuleCodes);
  // Whether a point (tree viewport coordinates) lies on an item's label.
  bool IsOnItemLabel(const QPoint& point) const;

  QTreeWidget* Tree() const { return m_pTree; }
  QTreeWidgetItem* RootItem() const { return m_pRoot; }
  QTreeWidgetItem* EthernetItem() const { return m_pEthernet; }
  QTreeWidgetItem* CardItem() const { return m_pCard; }
  QTreeWidgetItem* SmxItem() const { return m_pSmx; }

private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void OnContextMenu(const QPoint& point);

  QTreeWidget* m_pTree;
  QTreeWidgetItem* m_pRoot = nullptr;
  QTreeWidgetItem* m_pEthernet = nullptr;
  QTreeWidgetItem* m_pCard = nullptr;
  QTreeWidgetItem* m_pSmx = nullptr;
};

}  // namespace corvane
