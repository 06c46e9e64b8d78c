#include "comm/ui/CIpAddressEdit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStringList>

namespace corvane::comm {

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
  for (int i = 0; i < 4; ++i) {
    auto* part = new QLineEdit(this);
    part->setObjectName(QString("part%1").arg(i));
    part->setValidator(digits);
    part->setMaxLength(3);
    part->setAlignment(Qt::AlignCenter);
    part->setFrame(false);
    part->setFixedWidth(part->fontMetrics().horizontalAdvance("0000") + 4);
    part->installEventFilter(this);
    m_aParts[static_cast<std::size_t>(i)] = part;
    connect(part, &QLineEdit::textEdited, this, [this, i] { OnPartEdited(i); });
    connect(part, &QLineEdit::textChanged, this, &CIpAddressEdit::addressChanged);
    layout->addWidget(part);
    if (i < 3) layout->addWidget(new QLabel(".", this));
  }
  setFocusProxy(m_aParts[0]);
  // The boxes draw no frame of their own; the field looks like one edit.
  setAttribute(Qt::WA_StyledBackground);
  setStyleSheet(
      "corvane--comm--CIpAddressEdit { border: 1px solid palette(mid); background: palette(base); }"
      "corvane--comm--CIpAddressEdit:disabled { background: palette(window); }"
      "QLineEdit, QLabel { background: transparent; }");
  layout->setContentsMargins(2, 1, 2, 1);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int CIpAddressEdit::PartValue(int index) const {
  bool ok = false;
  const int value = Part(index)->text().toInt(&ok);
  return ok ? value : 0;
}

std::uint32_t CIpAddressEdit::Address() const {
  std::uint32_t address = 0;
  for (int i = 0; i < 4; ++i) address = address << 8 | static_cast<std::uint32_t>(PartValue(i) & 0xFF);
  return address;
}

void CIpAddressEdit::SetAddress(std::uint32_t address) {
  for (int i = 0; i < 4; ++i) Part(i)->setText(QString::number(address >> (24 - 8 * i) & 0xFF));
}

QString CIpAddressEdit::Text() const {
  QStringList parts;
  for (int i = 0; i < 4; ++i) parts << QString::number(PartValue(i));
  return parts.join('.');
}

void CIpAddressEdit::SetText(const QString& text) {
  const QStringList parts = text.trimmed().split('.');
  for (int i = 0; i < 4; ++i) {
    QString part;
    if (i < parts.size()) {
      bool ok = false;
      const int value = parts[i].trimmed().toInt(&ok);
      if (ok && value >= 0 && value <= 255) part = QString::number(value);
    }
    Part(i)->setText(part);
  }
}

bool CIpAddressEdit::IsBlank() const {
  for (QLineEdit* part : m_aParts)
    if (!part->text().isEmpty()) return false;
  return true;
}

void CIpAddressEdit::Clear() {
  for (QLineEdit* part : m_aParts) part->clear();
}

// A value above 255 is clamped as the platform's control does; three digits move to the next box.
void CIpAddressEdit::OnPartEdited(int index) {
  QLineEdit* part = Part(index);
  if (part->text().toInt() > 255) part->setText("255");
  if (part->text().size() == 3 && part->cursorPosition() == 3 && index < 3) {
    Part(index + 1)->setFocus();
    Part(index + 1)->selectAll();
  }
}

bool CIpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  int index = -1;
  for (int i = 0; i < 4; ++i)
    if (watched == m_aParts[static_cast<std::size_t>(i)]) index = i;
  if (index < 0) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  QLineEdit* part = Part(index);
  const bool atStart = part->cursorPosition() == 0 && !part->hasSelectedText();
  const bool atEnd = part->cursorPosition() == part->text().size() && !part->hasSelectedText();
  if ((key->text() == "." || key->key() == Qt::Key_Space) && index < 3) {
    if (!part->text().isEmpty()) {
      Part(index + 1)->setFocus();
      Part(index + 1)->selectAll();
    }
    return true;
  }
  if ((key->key() == Qt::Key_Right && atEnd) && index < 3) {
    Part(index + 1)->setFocus();
    Part(index + 1)->setCursorPosition(0);
    return true;
  }
  if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Backspace) && atStart && index > 0) {
    QLineEdit* previous = Part(index - 1);
    previous->setFocus();
    previous->setCursorPosition(previous->text().size());
    if (key->key() == Qt::Key_Backspace) previous->backspace();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}


}  // namespace corvane::comm
