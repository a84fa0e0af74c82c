#pragma once
// The program's own picture: the built-in logo of the main window (shown
// when no logo file is chosen) and the window icon.

#include <QIcon>
#include <QPixmap>

namespace keyholm {

// The logo, `side` pixels square (device-independent).
QPixmap AppLogo(int side, qreal devicePixelRatio = 1.0);
QIcon AppIcon();

} // namespace keyholm
