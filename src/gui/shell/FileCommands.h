#pragma once
// The File menu's data-file commands: New, Open, Save, Save As and the four recent files,
// plugged into the main window's routing, and the save that the window's close question runs.
// The file dialogs sit behind FileDialogs so that the tests can answer them.
//
// Unsaved data are never lost by a save that wrote nothing: a cancelled or failed save leaves
// the changed flags as they were, and New or closing the window stops when the save its
// question started wrote nothing.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

class QAction;
class QFileDialog;

namespace orv {
class RecentFiles;
}

namespace orv::gui {

class MainWindow;

// The name filters of a dialog that opens a data file: the current format, then the old one.
QStringList openFileFilters();

// The two file dialogs. Each starts in `directory` and returns the chosen full path, or the
// empty text when cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // "Open": an existing data file of either format.
    virtual QString openFile(const QString& directory) = 0;
    // "Save As": proposes the name of the file proposedName (none when empty), asks before
    // overwriting a file.
    virtual QString saveFile(const QString& directory, const QString& proposedName) = 0;
};

// The dialogs the user sees (see FileDialog.h). Both keep one idea of the chosen file: Open
// proposes the name the dialogs last returned when that file is in the folder it starts in.
// A proposed name is only the file's name: the dialog stays in the folder it was given. A
// name typed without an extension gets ".kvd"; one typed with ".pvlt" keeps it (the old
// format).
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : m_parent(parent) {}

    QString openFile(const QString& directory) override;
    QString saveFile(const QString& directory, const QString& proposedName) override;

    // The dialogs as openFile and saveFile show them.
    std::unique_ptr<QFileDialog> openDialog(const QString& directory) const;
    std::unique_ptr<QFileDialog> saveDialog(const QString& directory, const QString& proposedName) const;

private:
    QPointer<QWidget> m_parent;
    QString m_lastName;
};

class FileCommands : public QObject {
    Q_OBJECT
public:
    // Plugs the commands into the window (New, Open, Save, Save As, the recent files, the
    // recent-file menu and the close question's save) and shows the recent-file menu. The
    // object is a child of the window and lives as long as it. Without dialogs, the real ones.
    explicit FileCommands(MainWindow& window, std::unique_ptr<FileDialogs> dialogs = nullptr);
    ~FileCommands() override;

    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    // Both return whether the data were written.
    bool mnuFileSave_Click();
    bool mnuFileSaveAs_Click();
    void mnuRecentFile_Click(int index); // 1..4

    // Loads a data file and shows it; a file that no longer exists leaves the recent-file
    // list. Nothing happens for an empty path. Returns whether the data were loaded.
    bool loadDataFile(const QString& path);
    // Rebuilds the recent-file menu from the program's INI file.
    void showRecentFiles();
    // Before data are replaced (New, a backup opened): with unsaved data, asks whether to save
    // them first. True to go on; false when the user cancelled or the save wrote nothing.
    bool saveUnsavedFirst();

    FileDialogs& dialogs() { return *m_dialogs; }

private:
    RecentFiles recentFiles() const;
    // Open and Save As start where the data's file was last loaded or saved: whenever the
    // data come from a file or go to one, that file's folder is kept.
    void followDataFile();
    QString startFolder() const;
    QAction* newItem() const;
    // New data never go into the tune view: the radio there is in tune mode, and its test
    // channels are the ones shown. The channel view comes back first, ending tune mode.
    void leaveTuneView();

    MainWindow& m_window;
    std::unique_ptr<FileDialogs> m_dialogs;
    QString m_followedFile;
};

} // namespace orv::gui
