#pragma once
// The Operate menu's radio commands in the window: Read and Write with the window's steps
// around the exchanges (cell edits finished, the hourglass, leaving an active tune item, the
// view), the document taking what they bring, and leaving tune mode for the window's other
// commands.
// They talk to the radio through one connection kept for the window's whole run: the COM
// port chosen in the window, or the built-in virtual radio of `orvante --demo`. Every radio
// command of the window runs its exchanges through the one runner kept here, and the radio
// history records them all (a read is kept as a backup too).

#include "exchange/ExchangeRunner.h"
#include "history/HistoryRecorder.h"
#include "link/RadioConnection.h"

#include <functional>

namespace orv::gui {

class MainWindow;

class OperateCommands {
public:
    // Plugs Read, Write, LeaveTuneMode and ClosePort into the window.
    OperateCommands(MainWindow& window, RadioConnection& connection);

    void mnuRead_Click();
    void mnuWrite_Click();
    // Ends tune mode through the window's connection (nothing when it is not entered).
    void leaveTuneMode();

    // The link of the window's COM port (or of the virtual radio).
    RadioLink& link();
    // The window's exchange runner, on that link.
    ExchangeRunner& runner() { return m_runner; }
    // A step of Write after the cell edits are finished and before anything goes to the
    // radio; false stops the write.
    void setBeforeWrite(std::function<bool()> step) { m_beforeWrite = std::move(step); }
    // A step after a write that succeeded, given the data as written and the radio's data version.
    using AfterWrite = std::function<void(const RadioData& written, int dataVersion)>;
    void setAfterWrite(AfterWrite step) { m_afterWrite = std::move(step); }
    // The radio history and backups of the window's exchanges.
    HistoryRecorder& history() { return m_history; }

private:
    // The channel and function view, without leaving tune mode again.
    void showChannelView();

    MainWindow& m_window;
    RadioConnection& m_connection;
    ExchangeRunner m_runner;
    std::function<bool()> m_beforeWrite;
    AfterWrite m_afterWrite;
    HistoryRecorder m_history;
};

} // namespace orv::gui
