#pragma once
// Where the main window goes and how large it is, worked out without a window: from the size
// it is written to open at, the screens' available areas (the screen less its panels and
// docks) and what the program's INI file keeps from the last run. All rectangles are the
// window's client area (without the frame the window manager adds) in device-independent
// pixels, as QWidget::geometry() gives them.
//
// The INI keeps section "Window": "Left", "Top", "Width", "Height" (the normal, not maximized,
// client area) and "Maximized" (1 or 0).

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <utility>

namespace orv::gui {

// What the INI file keeps; a key that is missing or not a number leaves its part out.
struct StoredWindowGeometry {
    std::optional<QPoint> position;
    std::optional<QSize> size; // only a size of at least one pixel each way
    bool maximized = false;

    bool operator==(const StoredWindowGeometry&) const = default;
};

struct WindowGeometry {
    QRect normal;           // the client area when not maximized
    bool maximized = false;

    bool operator==(const WindowGeometry&) const = default;
};

// The geometry to use.
// - The size is the stored one, else `wanted`, made no larger than the available area of
//   the window's screen once the frame is added.
// - The window's screen is the one whose available area holds most of the stored window
//   (frame included). A stored position outside every available area is dropped: the screen
//   is then the primary one (the first area) and the window is centred in it.
// - A window kept on its screen is moved just enough to lie wholly inside the available area,
//   so that its title bar and status bar can be reached.
// - Without any available area the size and the stored position are used as they are.
WindowGeometry fitWindowGeometry(QSize wanted, const QList<QRect>& availableAreas,
                                 const StoredWindowGeometry& stored, QMargins frame = {});

StoredWindowGeometry readWindowGeometry(const QString& programIni);
// Writes the five keys one at a time, keeping the rest of the file; false when one of them
// could not be written.
bool storeWindowGeometry(const QString& programIni, const WindowGeometry& geometry);

} // namespace orv::gui
