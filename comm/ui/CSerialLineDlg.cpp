#include "comm/ui/CSerialLineDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "comm/CSerialLineSettings.h"
#include "platform/IPrompts.h"

namespace corvane::comm {

namespace {
QSpinBox* Milliseconds(QWidget* parent, const char* name, int lo, int hi, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(lo, hi);
  box->setValue(value);
  box->setSuffix(QStringLiteral(" ms"));
  return box;
}
}  // namespace

CSerialLineDlg::CSerialLineDlg(int comPort, QWidget* parent) : QDialog(parent), m_comPort(comPort) {
  setObjectName("SerialLine");
  const QString com = QStringLiteral("COM%1").arg(comPort);
  setWindowTitle(tr("Serial Line Settings") + QStringLiteral(" - ") + com);
  const PortLineSettings port = CSerialLineSettings::Port(comPort);

  m_pResponse = Milliseconds(this, "ResponseTime", CSerialLineSettings::kMinResponseMs,
                             CSerialLineSettings::kMaxResponseMs, CSerialLineSettings::ResponseTime());
  m_pResponse->setSingleStep(100);
  auto* device = new QGroupBox(tr("Device"), this);
  auto* deviceForm = new QFormLayout(device);
  deviceForm->addRow(tr("Response time"), m_pResponse);
  auto* note = new QLabel(tr("How long a device may take before its reply begins; the reply's own "
                             "time on the line is added. For every port."),
                          device);
  note->setWordWrap(true);
  deviceForm->addRow(note);

  m_pRs485 = new QGroupBox(tr("RS-485 direction control (RTS on while sending)"), this);
  m_pRs485->setObjectName("RS485");
  m_pRs485->setCheckable(true);
  m_pRs485->setChecked(port.rs485);
  m_pBefore = Milliseconds(m_pRs485, "DelayBefore", 0, CSerialLineSettings::kMaxDelayMs, port.delayBeforeMs);
  m_pAfter = Milliseconds(m_pRs485, "DelayAfter", 0, CSerialLineSettings::kMaxDelayMs, port.delayAfterMs);
  auto* rsForm = new QFormLayout(m_pRs485);
  rsForm->addRow(tr("Delay before send"), m_pBefore);
  rsForm->addRow(tr("Delay after send"), m_pAfter);
  auto* rsNote = new QLabel(tr("Only for %1, and only where its driver offers the kernel's RS-485 mode.").arg(com),
                            m_pRs485);
  rsNote->setWordWrap(true);
  rsForm->addRow(rsNote);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  connect(buttons, &QDialogButtonBox::accepted, this, &CSerialLineDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(device);
  layout->addWidget(m_pRs485);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

void CSerialLineDlg::accept() {
  const bool stored =
      CSerialLineSettings::SetResponseTime(m_pResponse->value()) &&
      CSerialLineSettings::SetPort(m_comPort, {m_pRs485->isChecked(), m_pBefore->value(), m_pAfter->value()});
  if (!stored) {
    Prompts().MessageBox(tr("The line settings could not be stored: the settings folder cannot be written by "
                            "this user.")
                             .toStdString(),
                         windowTitle().toStdString(), PromptButtons::Ok, PromptIcon::Warning);
    return;
  }
  CSerialLineSettings::Apply();
  QDialog::accept();
}

}  // namespace corvane::comm
