#pragma once
// Draws a list entry's name with, beside it, the text its item carries under kDetailRole
// (which device a COM port is), so the entry's own text stays the bare name.
#include <QStyledItemDelegate>

namespace corvane::comm {

class CPortItemDelegate : public QStyledItemDelegate {
public:
  static constexpr int kDetailRole = Qt::UserRole + 1;
  using QStyledItemDelegate::QStyledItemDelegate;

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace corvane::comm
