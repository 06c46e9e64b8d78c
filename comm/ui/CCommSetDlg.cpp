#include "comm/ui/CCommSetDlg.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/CNetworkAdapterFilter.h"
#include "comm/CSerialCommPorts.h"
#include "comm/CTextSortedList.h"
#include "comm/CommConf.h"
#include "comm/ui/CCommSetDlg.h"
#include "comm/ui/CIPListDlg.h"
#include "comm/ui/CIpAddressEdit.h"
#include "comm/ui/CPortItemDelegate.h"
#include "comm/ui/CSerialLineDlg.h"
#include "platform/IPrompts.h"

namespace corvane::comm {

namespace {

QComboBox* DropList(QWidget* parent, const char* id, const QStringList& items = {}) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(id);
  combo->addItems(items);
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return combo;
}

// Insert into a list that keeps text order, as the platform's sorted lists do.
void AddSorted(QComboBox* combo, const std::string& text) {
  std::vector<std::string> items;
  for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
  combo->insertItem(static_cast<int>(CTextSortedList::InsertPosition(items, text)), QString::fromStdString(text));
}

// Whole-text match ignoring case; the first entry when nothing matches.
void SelectText(QComboBox* combo, const QString& text) {
  for (int i = 0; i < combo->count(); ++i) {
    if (CTextSortedList::SameText(combo->itemText(i).toStdString(), text.toStdString())) {
      combo->setCurrentIndex(i);
      return;
    }
  }
  combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
}

// No entry of that number selects nothing.
void SelectIndex(QComboBox* combo, int index) { combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1); }

std::int32_t Decimal(const QString& text) { return CPORTHUB::ToDecimal(text.toStdString()); }

}  // namespace

CCommSetDlg::CCommSetDlg(CommConf& record, std::vector<std::string>& adapterNames,
                         std::vector<std::string>& adapterIPs, bool linkPreset,
                         std::function<std::uint32_t()> remoteIp, std::function<void()> enumAdapters,
                         QWidget* parent)
    : QDialog(parent),
      m_record(record),
      m_aAdapterNames(adapterNames),
      m_aAdapterIPs(adapterIPs),
      m_bLinkPreset(linkPreset),
      m_remoteIp(std::move(remoteIp)),
      m_enumAdapters(std::move(enumAdapters)) {
  Build();
  Open();
  // Only the user's choices run the rules: selections made by the rules themselves or by
  // opening must not cascade (the type rules set Transfer Mode without its rule).
  connect(m_pType, &QComboBox::activated, this, &CCommSetDlg::ApplyTypeRules);
  connect(m_pMode, &QComboBox::activated, this, &CCommSetDlg::OnTransferMode);
  connect(m_pDriver, &QComboBox::activated, this, &CCommSetDlg::OnDriver);
  connect(m_pInterface, &QComboBox::currentIndexChanged, this, &CCommSetDlg::OnInterface);
  connect(m_pDefault, &QPushButton::clicked, this, &CCommSetDlg::OnDefault);
  connect(m_pIpList, &QPushButton::clicked, this, &CCommSetDlg::OnIpList);
  const auto showDevice = [this] { m_pCom->setToolTip(m_pCom->currentData(CPortItemDelegate::kDetailRole).toString()); };
  connect(m_pCom, &QComboBox::currentIndexChanged, this, showDevice);
  connect(m_pCom, &QWidget::customContextMenuRequested, this, &CCommSetDlg::OnPortMenu);
  showDevice();
}

void CCommSetDlg::Build() {
  setObjectName("653");
  setWindowTitle(tr("Communication Setting"));

  m_pType = DropList(this, "11100", {tr("RS232"), tr("Ethernet"), tr("PORTHUB")});
  m_pInterface = DropList(this, "11113");
  m_pInterface->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_pInterface->setMinimumContentsLength(24);
  m_pInterfaceIp = new QLabel(tr("IP : "), this);
  m_pInterfaceIp->setObjectName("11114");
  m_pDriver = DropList(this, "11112");
  m_pDriver->setMinimumContentsLength(10);
  m_pDriverLabel = new QLabel(tr("Driver"), this);
  m_pIp = new CIpAddressEdit(this);
  m_pIp->setObjectName("11108");
  m_pIpList = new QPushButton(tr("IP List"), this);
  m_pIpList->setObjectName("11109");
  m_pIpList->setAutoDefault(false);
  m_pPort = new QLineEdit(this);
  m_pPort->setObjectName("11110");
  m_pPort->setMaxLength(3);
  m_pPort->hide();
  m_pCom = DropList(this, "11101");
  m_pCom->setMinimumContentsLength(8);
  m_pCom->setItemDelegate(new CPortItemDelegate(m_pCom));
  m_pCom->setContextMenuPolicy(Qt::CustomContextMenu);
  m_pBaud = DropList(this, "11103", {"9600", "19200", "38400", "57600", "115200"});
  m_pDataLen = DropList(this, "11102", {"7", "8"});
  m_pParity = DropList(this, "11105", {tr("None"), tr("Odd"), tr("Even")});
  m_pStop = DropList(this, "11104", {"1", "2"});
  m_pStation = DropList(this, "11107");
  m_pStation->setMaxVisibleItems(16);
  m_pMode = DropList(this, "11106", {tr("ASCII"), tr("RTU")});
  m_pDefault = new QPushButton(tr("Default"), this);
  m_pDefault->setObjectName("11111");
  m_pDefault->setAutoDefault(false);

  auto* intro = new QLabel(tr("This window allows to set  Corvane communication parameters."), this);

  auto* top = new QGridLayout;
  top->addWidget(new QLabel(tr("Communication Type"), this), 0, 0);
  top->addWidget(new QLabel(tr("Network Interface"), this), 1, 0);
  top->addWidget(m_pInterface, 1, 1);
  top->addWidget(m_pInterfaceIp, 2, 1);
  // The manager's driver sits beside the type it belongs to.
  auto* typeRow = new QHBoxLayout;
  typeRow->addWidget(m_pType);
  typeRow->addSpacing(16);
  typeRow->addWidget(m_pDriverLabel);
  typeRow->addWidget(m_pDriver);
  typeRow->addStretch(1);
  top->addLayout(typeRow, 0, 1);
  top->setColumnStretch(1, 1);
  // The driver row keeps its place while hidden, so the dialog does not jump between types.
  for (QWidget* w : {static_cast<QWidget*>(m_pDriver), static_cast<QWidget*>(m_pDriverLabel)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
    w->hide();
  }

  auto* ipGroup = new QGroupBox(tr("Assign IP Address"), this);
  auto* ipRow = new QHBoxLayout(ipGroup);
  ipRow->addWidget(new QLabel(tr("IP"), this));
  ipRow->addWidget(m_pIp);
  ipRow->addSpacing(12);
  ipRow->addWidget(m_pIpList);
  ipRow->addStretch(1);

  auto* protocol = new QGroupBox(tr("Protocol"), this);
  auto* grid = new QGridLayout(protocol);
  auto row = [&](int r, int c, const QString& label, QWidget* field, const QString& unit = {}) {
    grid->addWidget(new QLabel(label, protocol), r, c * 3);
    grid->addWidget(field, r, c * 3 + 1);
    if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, protocol), r, c * 3 + 2);
  };
  row(0, 0, tr("COM Port"), m_pCom);
  row(0, 1, tr("Baud Rate"), m_pBaud, tr("bps"));
  row(1, 0, tr("Data Length"), m_pDataLen);
  row(1, 1, tr("Parity"), m_pParity);
  row(2, 0, tr("Stop Bits"), m_pStop);
  row(2, 1, tr("Station Address"), m_pStation);
  row(3, 0, tr("Transfer Mode"), m_pMode);
  grid->setColumnMinimumWidth(2, 24);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  connect(buttons, &QDialogButtonBox::accepted, this, &CCommSetDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_pDefault);
  bottom->addStretch(1);
  bottom->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(top);
  layout->addWidget(ipGroup);
  layout->addWidget(protocol);
  layout->addWidget(m_pPort);
  layout->addLayout(bottom);
}

void CCommSetDlg::Open() {
  for (const std::string& port : CSerialCommPorts::List()) AddSorted(m_pCom, port);
  DescribePorts();

  if (m_enumAdapters) m_enumAdapters();
  for (const std::string& name : m_aAdapterNames) m_pInterface->addItem(QString::fromStdString(name));

  m_pDriver->clear();
  m_catalogue.Load(m_catalogue.GetInstallPath());
  const int drivers = std::min(m_catalogue.GetDriverCount(), kMaxDrivers);
  for (int i = 0; i < drivers; ++i) AddSorted(m_pDriver, m_catalogue.GetDriverName(i));

  SelectText(m_pDriver, QString("Driver%1").arg(m_record.PorthubDrv));
  SelectIndex(m_pType, m_record.CommType);
  SelectText(m_pCom, QString("COM%1").arg(m_record.ComPortNum));
  SelectText(m_pDataLen, m_record.DataLen == 8 ? "8" : "7");
  SelectIndex(m_pParity, m_record.Parity);
  SelectText(m_pStop, m_record.StopBits == 2 ? "2" : "1");
  SelectText(m_pBaud, QString::number(m_record.BaudRate));
  for (int i = 0; i <= 247; ++i) m_pStation->addItem(QString::number(i));
  SelectIndex(m_pStation, m_record.StationAddr);
  SelectIndex(m_pMode, m_record.ModbusMode);
  m_pIp->SetAddress(m_bLinkPreset && m_remoteIp ? m_remoteIp() : static_cast<std::uint32_t>(m_record.IPAddress));
  const int adapters = m_pInterface->count();
  m_pInterface->setCurrentIndex(adapters == 0                                              ? -1
                                : m_record.NetInterface >= 0 && m_record.NetInterface < adapters ? m_record.NetInterface
                                                                                           : 0);

  ApplyTypeRules(m_pType->currentIndex());
  // The serial type's rule would open every serial link as ASCII, so that OK after changing
  // only the port would turn a stored RTU link into ASCII. Opening keeps the stored mode; a
  // type the user picks still gets the rule's mode.
  if (m_pType->currentIndex() == kSerial && m_record.ModbusMode >= 0 && m_record.ModbusMode < m_pMode->count())
    m_pMode->setCurrentIndex(m_record.ModbusMode);
  OnInterface();
}

void CCommSetDlg::ApplyTypeRules(int type) {
  if (type < kSerial || type > kPorthub) return;
  const bool serial = type == kSerial;
  const bool ethernet = type == kEthernet;
  const bool porthub = type == kPorthub;
  m_pDriver->setEnabled(porthub);
  m_pDriver->setVisible(porthub);
  m_pDriverLabel->setVisible(porthub);
  for (QWidget* w : {m_pCom, m_pBaud, m_pDataLen, m_pParity, m_pStop}) w->setEnabled(serial);
  m_pStation->setEnabled(!ethernet);
  m_pMode->setEnabled(serial);
  m_pMode->setCurrentIndex(ethernet ? 1 : 0);
  m_pIp->setEnabled(ethernet);
  m_pIpList->setEnabled(ethernet);
  if (!porthub) m_pInterface->setEnabled(ethernet);
}

void CCommSetDlg::OnTransferMode(int mode) {
  if (mode < 0) return;
  SelectText(m_pDataLen, mode == 1 ? "8" : "7");
  SelectText(m_pParity, tr("Even"));
  SelectText(m_pStop, "1");
}

void CCommSetDlg::OnDriver() {
  const std::int32_t inter = m_catalogue.GetCommInterface(m_pDriver->currentText().toStdString());
  if (inter == 1 || inter == 2 || inter == 3) {
    m_pIp->setEnabled(inter == 3);
    m_pIpList->setEnabled(inter == 3);
  }
}

void CCommSetDlg::OnInterface() {
  const int at = m_pInterface->currentIndex();
  if (m_aAdapterIPs.empty() || at < 0 || at >= static_cast<int>(m_aAdapterIPs.size())) return;
  m_pInterfaceIp->setText(tr("IP : ") + QString::fromStdString(m_aAdapterIPs[static_cast<std::size_t>(at)]));
}

void CCommSetDlg::OnDefault() {
  SelectText(m_pBaud, "9600");
  SelectText(m_pDataLen, "7");
  SelectText(m_pParity, tr("Even"));
  SelectText(m_pStop, "1");
  SelectText(m_pMode, tr("ASCII"));
}

// Beside each name in the drop-down, which device it is; the entries' text stays "COMn".
void CCommSetDlg::DescribePorts() {
  const auto descriptions = CSerialCommPorts::Descriptions();
  int widest = 0;
  for (int i = 0; i < m_pCom->count(); ++i) {
    const auto it = descriptions.find(m_pCom->itemText(i).toStdString());
    if (it == descriptions.end()) continue;
    const QString detail = QString::fromStdString(it->second);
    m_pCom->setItemData(i, detail, CPortItemDelegate::kDetailRole);
    m_pCom->setItemData(i, detail, Qt::ToolTipRole);
    widest = std::max(widest, m_pCom->fontMetrics().horizontalAdvance(m_pCom->itemText(i) + "    " + detail));
  }
  if (widest > 0) m_pCom->view()->setMinimumWidth(widest + 48);
}

void CCommSetDlg::OnPortMenu(const QPoint& at) {
  const int port = Decimal(m_pCom->currentText().mid(3));
  QMenu menu(this);
  QAction* settings = menu.addAction(tr("Line Settings..."));
  settings->setEnabled(port > 0);
  if (menu.exec(m_pCom->mapToGlobal(at)) == settings) {
    CSerialLineDlg line(port, this);
    line.exec();
  }
}

void CCommSetDlg::OnIpList() {
  CIPListDlg list(m_record, m_pIp, this);
  list.exec();
}

void CCommSetDlg::accept() {
  const bool noAdapter = m_pInterface->count() == 0;
  // Only an Ethernet link needs a local adapter; a serial or manager link is stored without one.
  if (noAdapter && m_pType->currentIndex() == kEthernet) {
    Prompts().MessageBox(tr("No Ethernet or wireless network adapter is available, so an Ethernet link cannot be "
                            "set.\nConnect a network adapter, or choose another communication type.")
                             .toStdString(),
                         windowTitle().toStdString(), PromptButtons::Ok, PromptIcon::Warning);
    return;
  }
  m_record.CommType = m_pType->currentIndex();
  const std::string driver = m_pDriver->currentText().toStdString();
  std::string number = driver;
  for (std::size_t at; (at = number.find("Driver")) != std::string::npos;) number.erase(at, 6);
  m_record.PorthubDrv = CPORTHUB::ToDecimal(number);
  m_record.PorthubInter = m_catalogue.GetCommInterface(driver);
  m_record.PorthubDrvID = m_catalogue.GetDriverID(driver);
  m_record.PorthubCOM = m_catalogue.GetPortNumber(driver);
  m_record.ComPortNum = Decimal(m_pCom->currentText().mid(3));
  m_record.DataLen = Decimal(m_pDataLen->currentText());
  m_record.StopBits = Decimal(m_pStop->currentText());
  m_record.BaudRate = Decimal(m_pBaud->currentText());
  m_record.Parity = m_pParity->currentIndex();
  m_record.StationAddr = m_pStation->currentIndex();
  m_record.ModbusMode = m_pMode->currentIndex();
  m_record.IPAddress = static_cast<std::int32_t>(m_pIp->Address());
  // Without adapters the stored choice of adapter stays for the day one is back.
  if (!noAdapter) m_record.NetInterface = m_pInterface->currentIndex();
  const auto at = static_cast<std::size_t>(m_pInterface->currentIndex());
  m_record.HostIPAddr = static_cast<std::int32_t>(
      !noAdapter && at < m_aAdapterIPs.size() ? CNetworkAdapterFilter::ParseDottedQuad(m_aAdapterIPs[at])
                                              : 0xFFFFFFFFu);
  QDialog::accept();
}

}  // namespace corvane::comm
