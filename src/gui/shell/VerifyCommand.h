#pragma once
// Option > Verify after Write.
//
// A check mark kept in the program's INI ([Options] "Verify after Write", 1 or 0; off when
// missing), so that a plain Write stays as it is. When it is on, a write that succeeded is
// followed by the verify exchange, which reads back exactly the blocks the write sent (with
// its own progress step, "Verifying ...") and never writes:
//  - the radio holds what was written: the status bar says so;
//  - it holds other data: never taken for a success. The technician is told which channels
//    and fields differ (what was written, then what the radio holds) and asked whether to
//    write again; Yes runs Write again;
//  - the read back fails on the line: its own message says so.
// The history records the verify as its own event.
//
// Wiring: `new VerifyCommand(window, operate)` takes the menu item mnuVerifyAfterWrite and
// sets the Write command's after-write step; it lives as long as the window.

#include "image/RadioData.h"

#include <QObject>

class QAction;

namespace orv::gui {

class MainWindow;
class OperateCommands;

class VerifyCommand : public QObject {
    Q_OBJECT
public:
    VerifyCommand(MainWindow& window, OperateCommands& operate);

    bool verifyAfterWrite() const;
    // The INI key of the check mark.
    static const char* const IniKey;

    // The Write command's step after a write that succeeded: `written` as the document holds
    // it after the write, with the data version the radio reported.
    void afterWrite(const RadioData& written, int dataVersion);

private:
    MainWindow& m_window;
    OperateCommands& m_operate;
    QAction* m_verifyAfterWrite = nullptr;
};

} // namespace orv::gui
