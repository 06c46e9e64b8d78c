#pragma once
// Pictures of the program by resource identifier (icons 300-314, 402, 405-410; bitmaps 204,
// 208, 209). A missing picture gives a null icon or pixmap.
#include <QIcon>
#include <QPixmap>

namespace corvane {

QIcon LoadIcon(unsigned id);
QPixmap LoadBitmap(unsigned id);
// Pictures that have a name rather than a number (the Window toolbar's own images).
QIcon LoadNamedIcon(const char* name);

}  // namespace corvane
