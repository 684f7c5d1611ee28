#pragma once
// Operate > Check and Option > Check before Write.
//
// Check finishes open cell edits, then shows the warnings of the check of the plan in the
// Check dialog. The dialog stays open beside the window and follows the data: a fixed
// warning leaves the list. Double-click or Enter on a warning leads to its place - the cell
// of the channel grid (selected and scrolled into view), the settings list (focused), or the
// cell of the tune grid while the tune view shows the test channels; a place the view does
// not show is named in the dialog instead.
//
// "Check before Write" is a check mark kept in the program's INI ([Options] "Check before
// Write", 1 or 0; off when missing). When it is on, Write checks first, after finishing the
// cell edits and before anything goes to the radio; with warnings it asks, through the
// window's feedback, whether to write anyway. No sends nothing and opens the Check dialog.
//
// Wiring: `new CheckCommand(window, operate)` plugs itself in as MainWindow::Command::Check,
// takes the menu item mnuCheckBeforeWrite and sets the Write command's before-write step; it
// lives as long as the window.

#include "check/PlanCheck.h"

#include <QObject>
#include <QPointer>

class QAction;

namespace orv::gui {

class CheckDialog;
class MainWindow;
class OperateCommands;

class CheckCommand : public QObject {
    Q_OBJECT
public:
    CheckCommand(MainWindow& window, OperateCommands& operate);

    // The Check dialog while it exists (after the first Check), else nullptr.
    CheckDialog* dialog() const;
    bool checkBeforeWrite() const;

    // The INI key of the check mark.
    static const char* const IniKey;

public slots:
    void mnuCheck_Click();
    // The Write command's step before the radio: true to go on with the write.
    bool beforeWrite();

private:
    void showDialog(std::vector<CheckWarning> warnings);
    void warningActivated(int index);

    MainWindow& m_window;
    QAction* m_checkBeforeWrite = nullptr;
    QPointer<CheckDialog> m_dialog;
};

} // namespace orv::gui
