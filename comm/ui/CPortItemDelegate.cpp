#include "comm/ui/CPortItemDelegate.h"

namespace corvane::comm {

void CPortItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QString detail = index.data(kDetailRole).toString();
  if (!detail.isEmpty()) option->text += QStringLiteral("    ") + detail;
}

}  // namespace corvane::comm
