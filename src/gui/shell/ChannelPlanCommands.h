#pragma once
// Channel plans to and from spreadsheets in the window: File > Import Channels... and Export
// Channels... (CSV or JSON, the forms `orvante-cli export` writes and `import` takes), and
// Edit > Copy, Paste and Fill Down on the cells selected in the active grid (the channel grid,
// or the test-channel grid in the tune view). A paste or an import goes through the rules of
// typing; its notes go to the status bar, and when a cell cannot be taken the dialog shows
// every error and applies nothing unless the user chooses "Apply Valid Cells". Each is one
// step to undo. Cells copied from a grid here and pasted go from the current row down; a
// spreadsheet's rows go to the channels their "CH No." names. Copy and Paste of an open cell
// editor stay the window's own.
//
// Wiring: `new ChannelPlanCommands(window)` plugs the commands in; it lives as long as the
// window. Tests replace the dialogs.

#include "import/ImportApply.h"

#include <QObject>

#include <functional>

namespace orv::gui {

class GridSelection;
class MainWindow;

class ChannelPlanCommands : public QObject {
    Q_OBJECT
public:
    // The file a dialog chose ("" cancelled): `save` for Export.
    using ChooseFile = std::function<QString(bool save, const QString& folder)>;
    // Whether to apply what `preview` says (the import dialog).
    using Confirm = std::function<bool(const QString& title, const ImportReport& preview)>;

    explicit ChannelPlanCommands(MainWindow& window);

    void setChooseFile(ChooseFile choose) { m_chooseFile = std::move(choose); }
    void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }

    // The selection of the grid the view shows.
    GridSelection* activeSelection() const;

    void importChannels();
    // False when nothing was written (cancelled, or the file could not be written: said).
    bool exportChannels();
    void copyCells();
    void pasteCells();
    void fillDown();

private:
    void tell(const ImportReport& report);

    MainWindow& m_window;
    ChooseFile m_chooseFile;
    Confirm m_confirm;
};

} // namespace orv::gui
