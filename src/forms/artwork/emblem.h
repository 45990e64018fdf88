#pragma once

// Our emblem as the program's icon, for the desktop's menus and task bars.

#include <QImage>

namespace artwork {

// The emblem of the window frames, centred on a transparent square of size x size pixels.
QImage emblemIcon(int size);

} // namespace artwork
