#include "widgets/ui/CQtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

namespace corvane {

int CQtPrompts::MessageBox(const std::string& text, const std::string& caption, PromptButtons buttons,
                           PromptIcon icon) {
  return MessageBoxWithDetail(text, {}, caption, buttons, icon);
}

int CQtPrompts::MessageBoxWithDetail(const std::string& text, const std::string& detail, const std::string& caption,
                                     PromptButtons buttons, PromptIcon icon) {
  QMessageBox box(QApplication::activeWindow());
  // The reason shows at once, beneath the text, and can be selected and copied.
  box.setTextFormat(Qt::PlainText);
  if (!detail.empty()) {
    box.setInformativeText(QString::fromStdString(detail));
    // A reason may name a device path from a settings file: it is never markup.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
      label->setTextFormat(Qt::PlainText);
  }
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
    case PromptIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case PromptIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
    case PromptIcon::None: break;
  }
  switch (buttons) {
    case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case PromptButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case PromptButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
  }
}

std::string CQtPrompts::QtFilter(const std::string& filter) {
  // Pairs of description|pattern, ended by an empty pair.
  std::string out;
  std::size_t pos = 0;
  while (pos < filter.size()) {
    const std::size_t bar = filter.find('|', pos);
    if (bar == std::string::npos || bar == pos) break;
    const std::size_t end = filter.find('|', bar + 1);
    const std::string description = filter.substr(pos, bar - pos);
    const std::string pattern = filter.substr(bar + 1, end == std::string::npos ? std::string::npos : end - bar - 1);
    if (!out.empty()) out += ";;";
    out += description.find('(') == std::string::npos ? description + " (" + pattern + ")" : description;
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  return out;
}

std::optional<std::string> CQtPrompts::OpenFileName(const FileDialogRequest& request) {
  const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(),
                                                    QString::fromStdString(QtFilter(request.filter)));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> CQtPrompts::SaveFileName(const FileDialogRequest& request) {
  QFileDialog dialog(QApplication::activeWindow());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QString::fromStdString(QtFilter(request.filter)));
  if (!request.defaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt.substr(1)));
  if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace corvane
