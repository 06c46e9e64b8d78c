#pragma once
// The parameter table: address, name, value, unit, range, access; the value column is
// edited in place. Read and Write buttons above it.
#include "framework/ui/CView.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace corvane::paramedit {

class CParamEditorDoc;

class CParamEditorView : public CView {
  Q_OBJECT
public:
  enum Column { kAddress, kName, kValue, kUnit, kRange, kAccess, kColumns };

  explicit CParamEditorView(QWidget* parent = nullptr);

  void OnInitialUpdate() override;
  // Re-reads the document into the table.
  void Refresh();

  QTableWidget* Table() const { return m_pTable; }
  QPushButton* ReadButton() const { return m_pRead; }
  QPushButton* WriteButton() const { return m_pWrite; }

private:
  CParamEditorDoc* Doc() const;
  void OnItemChanged(QTableWidgetItem* item);

  QTableWidget* m_pTable;
  QPushButton* m_pRead;
  QPushButton* m_pWrite;
  QLabel* m_pStatus;
  bool m_bFilling = false;
};

}  // namespace corvane::paramedit
