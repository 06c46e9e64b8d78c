#include "modules/paramedit/ui/CParamEditorView.h"

#include <cstdint>

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "modules/paramedit/ui/CParamEditorDoc.h"

namespace corvane::paramedit {
namespace {

QTableWidgetItem* Cell(const QString& text, bool editable) {
  auto* item = new QTableWidgetItem(text);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable) flags |= Qt::ItemIsEditable;
  item->setFlags(flags);
  return item;
}

}  // namespace

CParamEditorView::CParamEditorView(QWidget* parent)
    : CView(parent), m_pTable(new QTableWidget(this)), m_pRead(new QPushButton(tr("Read"), this)),
      m_pWrite(new QPushButton(tr("Write"), this)), m_pStatus(new QLabel(this)) {
  m_pTable->setColumnCount(kColumns);
  m_pTable->setHorizontalHeaderLabels({tr("Address"), tr("Parameter"), tr("Value"), tr("Unit"), tr("Range"), tr("Access")});
  m_pTable->verticalHeader()->hide();
  m_pTable->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
  m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_pRead);
  buttons->addWidget(m_pWrite);
  buttons->addWidget(m_pStatus, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(m_pTable);
  connect(m_pTable, &QTableWidget::itemChanged, this, &CParamEditorView::OnItemChanged);
  connect(m_pRead, &QPushButton::clicked, this, [this] { if (Doc()) Doc()->ReadFromDevice(); });
  connect(m_pWrite, &QPushButton::clicked, this, [this] { if (Doc()) Doc()->WriteToDevice(); });
}

CParamEditorDoc* CParamEditorView::Doc() const { return dynamic_cast<CParamEditorDoc*>(GetDocument()); }

void CParamEditorView::OnInitialUpdate() { Refresh(); }

void CParamEditorView::Refresh() {
  CParamEditorDoc* doc = Doc();
  if (!doc) return;
  const CParamSet& set = doc->Params();
  m_bFilling = true;
  // Cells are updated in place: a refresh may run from inside the table's own change signal.
  if (m_pTable->rowCount() != static_cast<int>(set.Size())) {
    m_pTable->clearContents();
    m_pTable->setRowCount(static_cast<int>(set.Size()));
    for (std::size_t i = 0; i < set.Size(); ++i) {
      const ParamSpec& spec = set.Spec(i);
      const int row = static_cast<int>(i);
      m_pTable->setItem(row, kAddress, Cell(QString::asprintf("0x%04X", spec.address), false));
      m_pTable->setItem(row, kName, Cell(QString::fromStdString(spec.name), false));
      m_pTable->setItem(row, kValue, Cell(QString(), !spec.readOnly));
      m_pTable->setItem(row, kUnit, Cell(QString::fromStdString(spec.unit), false));
      m_pTable->setItem(row, kRange, Cell(QString("%1 .. %2").arg(spec.minimum).arg(spec.maximum), false));
      m_pTable->setItem(row, kAccess, Cell(spec.readOnly ? tr("read only") : tr("read/write"), false));
    }
    m_pTable->resizeColumnToContents(kAddress);
    m_pTable->resizeColumnToContents(kRange);
  }
  for (std::size_t i = 0; i < set.Size(); ++i) {
    QTableWidgetItem* cell = m_pTable->item(static_cast<int>(i), kValue);
    if (!cell) continue;
    const auto value = set.Value(i);
    cell->setText(value ? QString::number(*value) : QString());
    QFont font = cell->font();
    font.setBold(set.Pending(i));  // waits to be written
    cell->setFont(font);
    // The device may hold what the description does not allow: shown, marked, never written back.
    const bool outside = value && !set.Spec(i).InRange(*value);
    cell->setForeground(outside ? QBrush(Qt::red) : QBrush());
    cell->setToolTip(outside ? tr("Outside the parameter's range") : QString());
  }
  m_bFilling = false;
  const int pending = set.PendingCount();
  m_pWrite->setEnabled(pending > 0);
  m_pStatus->setText(pending == 1  ? tr("1 value to write")
                     : pending > 1 ? tr("%1 values to write").arg(pending)
                                   : QString::fromStdString(doc->ParamFileError()));
}

void CParamEditorView::OnItemChanged(QTableWidgetItem* item) {
  if (m_bFilling || !item || item->column() != kValue || !Doc()) return;
  const std::size_t row = static_cast<std::size_t>(item->row());
  if (row >= Doc()->Params().Size()) return;
  bool ok = false;
  const long long value = item->text().trimmed().toLongLong(&ok, 0);
  if (!ok || value < INT32_MIN || value > INT32_MAX) {
    Doc()->Log("refused: " + Doc()->Params().Spec(row).name + ": \"" + item->text().left(32).toStdString() +
               "\" is not a value");
    Refresh();
    return;
  }
  Doc()->EditValue(row, static_cast<std::int32_t>(value));  // refreshes the table, also after a refusal
}

}  // namespace corvane::paramedit
