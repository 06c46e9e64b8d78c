#include "widgets/ui/COutputListWnd.h"

#include <ctime>

#include <QHeaderView>
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

}  // namespace corvane
