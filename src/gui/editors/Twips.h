#pragma once
// Screen sizes given in twips (1/1440 inch): 15 twips make one pixel at 96 dpi, and the
// result grows with the logical dpi of the widget's screen.

#include <QWidget>

#include <cmath>

namespace orv::gui {

inline int twipsToPixels(int twips, const QWidget* widget) {
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return int(std::lround(twips * dpi / 1440.0));
}

} // namespace orv::gui
