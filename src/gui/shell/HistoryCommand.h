#pragma once
// File > Radio History... and Option > Keep Backups.
//
// Radio History shows the history dialog on the window's own history connection (the
// recorder's, on the GUI thread). The dialog is modeless and shows each event as the
// window's exchanges record it. Its buttons:
//  - Open Backup: the unsaved-data question first (Open itself asks none, for it keeps the
//    data until a file has been read; a backup is opened to replace them), then the backup is
//    opened as Open opens a file;
//  - Compare with Current: the window's data against the backup, in the Differences dialog;
//  - Show Folder: the chosen backup's folder (the data folder's "backups" folder when no
//    backup is chosen), opened by the desktop;
//  - Export CSV...: the events listed, as `orvante-cli history --format csv` writes them,
//    written atomically to the file chosen.
// A history that cannot be opened says why: the recorder's one warning of the run, or a
// message of its own.
//
// Keep Backups is a check mark kept in the program's INI ([Options] "Keep Backups", default
// on), given to the window's recorder at once.
//
// Wiring: `new HistoryCommand(window, operate, files, compare)` plugs itself in as
// MainWindow::Command::RadioHistory and takes the menu item mnuKeepBackups; it lives as long
// as the window.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QUrl;

namespace orv::gui {

class CompareCommand;
class FileCommands;
class HistoryDialog;
class MainWindow;
class OperateCommands;

class HistoryCommand : public QObject {
    Q_OBJECT
public:
    HistoryCommand(MainWindow& window, OperateCommands& operate, FileCommands& files, CompareCommand& compare);

    // Opens a folder in the desktop's file manager; QDesktopServices::openUrl by default.
    using FolderOpener = std::function<bool(const QUrl& folder)>;
    void setFolderOpener(FolderOpener open) { m_openFolder = std::move(open); }
    // Chooses the CSV file to write, starting in `folder` with `proposedName`; empty when
    // cancelled. By default a Save dialog titled "Export CSV".
    using CsvChooser = std::function<QString(const QString& folder, const QString& proposedName)>;
    void setCsvChooser(CsvChooser choose) { m_chooseCsv = std::move(choose); }

    // The history dialog while it exists (after the first showing), else nullptr.
    HistoryDialog* dialog() const;

public slots:
    void mnuRadioHistory_Click();

private:
    void openBackup(const QString& backup);
    void compareBackup(const QString& backup);
    void showFolder(const QString& backup);
    void exportCsv();
    void eventRecorded();

    MainWindow& m_window;
    OperateCommands& m_operate;
    FileCommands& m_files;
    CompareCommand& m_compare;
    FolderOpener m_openFolder;
    CsvChooser m_chooseCsv;
    QPointer<HistoryDialog> m_dialog;
};

} // namespace orv::gui
