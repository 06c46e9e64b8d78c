#pragma once
// The output log pane: a two-column table of time-stamped lines.
#include <string>

#include <QWidget>

class QTableView;

namespace corvane {

class COutputLogModel;

class COutputListWnd : public QWidget {
  Q_OBJECT
public:
  static constexpr int kListControlId = 11000;

  explicit COutputListWnd(QWidget* parent = nullptr);

  // Appends a line stamped with the current time; returns 1.
  int AddLine(const std::string& text);
  // Removes every line; returns 1.
  int Clear();

  // The selected lines (else the current one) to the clipboard, as COutputLogModel::CopyText.
  void CopySelection() const;

  COutputLogModel* Model() const { return m_pModel; }
  QTableView* List() const { return m_pList; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  COutputLogModel* m_pModel;
  QTableView* m_pList;
};

}  // namespace corvane
