#pragma once
// mnuRadio_Click: the radio information command (Option > Radio Information...). From the
// tune view it leaves tune mode and brings the channel and function view back first; then it
// shows the radio information dialog modally with the document's text and, when the dialog
// is closed with Close, gives the text back to the document. A text that differs from the
// one held counts as a change of the data, so that the unsaved-data question is asked before
// it is lost (a data file keeps the text).
//
// Wiring: `new RadioInfoCommand(window, runner)` plugs itself in as
// MainWindow::Command::RadioInformation and lives as long as the window. `runner` is the
// window's exchange runner. Tests replace the modal show.

#include <QObject>

#include <functional>

namespace orv {
class ExchangeRunner;
}

namespace orv::gui {

class EmbedDialog;
class MainWindow;

class RadioInfoCommand : public QObject {
    Q_OBJECT
public:
    // Shows the dialog modally and returns when it is closed.
    using RunDialog = std::function<void(EmbedDialog&)>;

    RadioInfoCommand(MainWindow& window, ExchangeRunner& runner);

    void setRunDialog(RunDialog run) { m_runDialog = std::move(run); }

public slots:
    void mnuRadio_Click();

private:
    MainWindow& m_window;
    ExchangeRunner& m_runner;
    RunDialog m_runDialog;
};

} // namespace orv::gui
