#include "comm/ui/CIPListDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "comm/CommConf.h"
#include "comm/ui/CIpAddressEdit.h"
#include "platform/CAppFolders.h"

namespace corvane::comm {

CIPListDlg::CIPListDlg(CommConf& record, CIpAddressEdit* target, QWidget* parent)
    : CIPListDlg(record, target, platform::CAppFolders::CorvaneConfigFolder(), parent) {}

CIPListDlg::CIPListDlg(CommConf& record, CIpAddressEdit* target, std::string folder, QWidget* parent)
    : QDialog(parent), m_record(record), m_pTarget(target), m_strFolder(std::move(folder)) {
  Build();
  LoadList();
}

void CIPListDlg::Build() {
  setObjectName("654");
  setWindowTitle(tr("IP Setup"));
  m_pAddress = new CIpAddressEdit(this);
  m_pAddress->setObjectName("11200");
  m_pList = new QListWidget(this);
  m_pList->setObjectName("11201");
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pAdd = new QPushButton(tr("Add"), this);
  m_pAdd->setObjectName("11203");
  m_pDelete = new QPushButton(tr("Delete"), this);
  m_pDelete->setObjectName("11204");
  m_pBroadcast = new QPushButton(tr("Broadcast IP"), this);
  m_pBroadcast->setObjectName("11202");
  // Both wait for something to act on: a typed address, a chosen entry.
  m_pAdd->setEnabled(false);
  m_pDelete->setEnabled(false);
  for (QPushButton* b : {m_pAdd, m_pDelete, m_pBroadcast}) b->setAutoDefault(false);

  auto* group = new QGroupBox(tr("IP List"), this);
  auto* grid = new QGridLayout(group);
  grid->addWidget(m_pAddress, 0, 0);
  grid->addWidget(m_pList, 1, 0, 4, 1);
  grid->addWidget(m_pAdd, 1, 1);
  grid->addWidget(m_pDelete, 2, 1);
  grid->addWidget(m_pBroadcast, 3, 1);
  grid->setRowStretch(4, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  connect(buttons, &QDialogButtonBox::accepted, this, &CIPListDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);

  connect(m_pAdd, &QPushButton::clicked, this, &CIPListDlg::OnAdd);
  connect(m_pDelete, &QPushButton::clicked, this, &CIPListDlg::OnDelete);
  connect(m_pBroadcast, &QPushButton::clicked, this, [this] { m_pAddress->SetText("255.255.255.255"); });
  connect(m_pAddress, &CIpAddressEdit::addressChanged, this, [this] { m_pAdd->setEnabled(true); });
  connect(m_pList, &QListWidget::currentRowChanged, this, &CIPListDlg::OnSelectionChanged);
  resize(300, 260);
}

void CIPListDlg::LoadList() {
  if (!CIPList::EnsureFolder(m_strFolder)) return;
  m_list.Load(CIPList::FilePath(m_strFolder));
  m_nCount = m_list.Count();
  const QSignalBlocker quiet(m_pList);
  for (const std::string& entry : m_list.Entries().Items()) m_pList->addItem(QString::fromStdString(entry));
  m_pList->setCurrentRow(-1);
}

void CIPListDlg::OnAdd() {
  const int at = m_list.Add(m_pAddress->Text().toStdString());
  if (at < 0) return;
  const QSignalBlocker quiet(m_pList);
  m_pList->insertItem(at, m_pAddress->Text());
}

void CIPListDlg::OnDelete() {
  const int row = m_pList->currentRow();
  const QSignalBlocker quiet(m_pList);
  if (row >= 0 && m_pList->item(row) && m_pList->item(row)->isSelected()) {
    m_list.RemoveAt(row);
    delete m_pList->takeItem(row);
    // Nothing stays selected, as after deleting from the platform's list.
    m_pList->setCurrentRow(-1);
    m_pList->clearSelection();
  }
  if (m_pList->count() == 0) m_pDelete->setEnabled(false);
}

void CIPListDlg::OnSelectionChanged(int row) {
  if (row < 0 || row >= m_list.Count()) return;
  m_pAddress->SetText(QString::fromStdString(m_list.At(row)));
  m_pDelete->setEnabled(true);
}

void CIPListDlg::accept() {
  if (CIPList::EnsureFolder(m_strFolder)) {
    m_nCount = m_list.Count();
    m_list.Save(CIPList::FilePath(m_strFolder));
  }
  m_record.IPAddress = static_cast<std::int32_t>(m_pAddress->Address());
  if (m_pTarget) m_pTarget->SetAddress(m_pAddress->Address());
  QDialog::accept();
}

}  // namespace corvane::comm
