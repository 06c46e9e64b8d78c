#pragma once
// The start-up's one message when the all-users settings folder is not writable: the folder,
// the fix, and that the program keeps working.
#include <QString>

#include "app/CSettingsFolderCheck.h"

namespace corvane {

QString SettingsFolderNotice(const SettingsFolderAccess& access);

}  // namespace corvane
