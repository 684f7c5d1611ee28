#include "shell/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace orv::gui {

namespace {
// Whether the hourglass is ours to take back: one override cursor at most is pushed.
bool g_hourglass = false;
} // namespace

BusyCursor::BusyCursor() { showHourglass(); }
BusyCursor::~BusyCursor() { showDefault(); }

void BusyCursor::showHourglass() {
    if (g_hourglass)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    g_hourglass = true;
}

void BusyCursor::showDefault() {
    if (!g_hourglass)
        return;
    QGuiApplication::restoreOverrideCursor();
    g_hourglass = false;
}

bool BusyCursor::hourglassShown() { return g_hourglass; }

} // namespace orv::gui
