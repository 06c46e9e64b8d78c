#include "app/ui/SettingsFolderNotice.h"

#include <QCoreApplication>

namespace corvane {
namespace {

QString Tr(const char* text) { return QCoreApplication::translate("CCorvaneApp", text); }

QString FixText(const SettingsFolderAccess& access) {
  switch (access.fix) {
    case SettingsFolderAccess::Fix::JoinGroup:
      return Tr("An administrator adds you to the group %1, then you log in again:")
          .arg(QString::fromStdString(access.group));
    case SettingsFolderAccess::Fix::CreateFolder:
      return Tr("The folder does not exist. Install the Corvane package, or an administrator makes the "
                "folder for the group dialout:");
    case SettingsFolderAccess::Fix::GrantGroup:
    case SettingsFolderAccess::Fix::None:
      break;
  }
  return Tr("An administrator makes the folder writable for the group dialout:");
}

}  // namespace

QString SettingsFolderNotice(const SettingsFolderAccess& access) {
  // All inserts at once: a folder name holding "%2" stays as it is.
  return Tr("Corvane cannot save the communication settings and the IP list in the folder\n%1\n\n%2\n%3\n\n"
            "Corvane keeps working; changes of the link and the IP list last until it ends.")
      .arg(QString::fromStdString(access.folder), FixText(access),
           QString::fromStdString(CSettingsFolderCheck::FixCommand(access)));
}

}  // namespace corvane
