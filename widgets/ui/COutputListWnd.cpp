#include "widgets/ui/COutputListWnd.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/ui/COutputLogModel.h"

namespace corvane {

COutputListWnd::COutputListWnd(QWidget* parent)
    : QWidget(parent), m_pModel(new COutputLogModel(this)), m_pList(new QTableView(this)) {
  m_pList->setObjectName(QStringLiteral("OutputList"));
  m_pList->setModel(m_pModel);
  m_pList->setShowGrid(true);
  m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pList->setWordWrap(false);
  m_pList->setIconSize(QSize(16, 16));
  m_pList->setFrameShadow(QFrame::Sunken);
  m_pList->verticalHeader()->hide();
  // Fixed row heights keep appending and scrolling cheap with very many lines.
  m_pList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_pList->verticalHeader()->setDefaultSectionSize(m_pList->fontMetrics().height() + 4);
  m_pList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_pList->horizontalHeader()->setStretchLastSection(true);
  m_pList->setColumnWidth(0, 180);
  // The pane has no context menu, and right clicks go no further.
  setContextMenuPolicy(Qt::PreventContextMenu);
  m_pList->setContextMenuPolicy(Qt::PreventContextMenu);
  m_pList->viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
  // Ctrl+C copies the selected lines, even where a window's own Copy command has the key.
  m_pList->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_pList);
}

int COutputListWnd::AddLine(const std::string& text) {
  m_pModel->AddLine(text, std::time(nullptr));
  return 1;
}

int COutputListWnd::Clear() {
  m_pModel->Clear();
  return 1;
}

void COutputListWnd::CopySelection() const {
  std::vector<std::size_t> rows;
  for (const QModelIndex& index : m_pList->selectionModel()->selectedRows())
    rows.push_back(static_cast<std::size_t>(index.row()));
  if (rows.empty() && m_pList->currentIndex().isValid())
    rows.push_back(static_cast<std::size_t>(m_pList->currentIndex().row()));
  std::sort(rows.begin(), rows.end());
  if (rows.empty()) return;
  QGuiApplication::clipboard()->setText(QString::fromStdString(m_pModel->CopyText(rows)));
}

bool COutputListWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pList && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    event->accept();
    if (event->type() == QEvent::KeyPress) CopySelection();
    return event->type() == QEvent::KeyPress;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace corvane
