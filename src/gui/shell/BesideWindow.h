#pragma once
// Where the window's tool dialogs (Check, Differences) show: beside the main window, so that
// the grids they lead to stay in sight.

class QWidget;

namespace orv::gui {

// Before the first showing: beside `window` (right, else left) where the screen has room;
// else where the system puts it.
void placeBeside(QWidget& dialog, const QWidget* window);
// Shows the dialog, raised and active: placed beside `window` the first time, later where
// the user left it.
void showBeside(QWidget& dialog, const QWidget* window, bool firstShowing);

} // namespace orv::gui
