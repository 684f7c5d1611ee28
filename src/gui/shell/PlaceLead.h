#pragma once
// Leading the technician from a listed item to its place in the window: a cell of the channel
// grid, a settings list, or a cell of the tune grid. The Check dialog's warnings and the
// Differences dialog's rows lead there on a double-click or Enter.

#include "check/PlanCheck.h"

#include <QString>

namespace orv::gui {

class MainWindow;

// Makes the place current, scrolled into view, and gives it the keyboard; an open cell edit
// ends first. A place the view does not show (the channel table while the tune view is up, a
// test channel while the tune view does not show the test channels) is not gone to: the note
// returned says where it is. Empty when it went there.
QString leadToPlace(MainWindow& window, const CheckPlace& place);

} // namespace orv::gui
