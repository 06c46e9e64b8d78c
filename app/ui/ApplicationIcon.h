#pragma once
// The application icon: the desktop icon's pictures, built into the program, for every window.
#include <QIcon>

namespace corvane {

QIcon ApplicationIcon();

}  // namespace corvane
