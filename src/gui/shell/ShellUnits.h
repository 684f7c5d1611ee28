#pragma once
// Screen units of the shell: sizes in twips (twipsToPixels) and the screen's twips per pixel.

#include "editors/Twips.h"

#include <QWidget>
#include <QtMath>

namespace orv::gui {

// Twips per screen pixel, horizontally and vertically (15 at 96 dpi).
inline int twipsPerPixelX(const QWidget* w) { return qRound(1440.0 / (w ? w->logicalDpiX() : 96)); }
inline int twipsPerPixelY(const QWidget* w) { return qRound(1440.0 / (w ? w->logicalDpiY() : 96)); }

} // namespace orv::gui
