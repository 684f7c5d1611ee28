#include "shell/FileCommands.h"

#include "files/RecentFiles.h"
#include "document/Document.h"
#include "shell/BusyCursor.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>

namespace orv::gui {

namespace {

const QString DataFilter = QStringLiteral("Data Files (*.kvd)");
const QString OldFilter = QStringLiteral("Old Files (*.pvlt)");
const QString DefaultSuffix = QStringLiteral("kvd");

// A recent-file item shows " 1 " and the path; '&' is doubled so the menu shows it as typed.
QString recentItemText(int i, const QString& path) {
    return u' ' + QString::number(i) + u' ' + QString(path).replace(u'&', QLatin1String("&&"));
}

QString pathFromRecentItem(const QString& text) {
    return text.mid(3).replace(QLatin1String("&&"), QLatin1String("&"));
}

// Qt's own dialog on every platform: the titles, filters, default extension and overwrite
// prompt are then the same everywhere.
QString runDialog(QFileDialog& dialog) {
    dialog.setObjectName(QStringLiteral("dlgCommonDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(DefaultSuffix);
    dialog.selectNameFilter(DataFilter);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The dialogs

QString QtFileDialogs::openFile(const QString& directory) {
    QFileDialog dialog(m_parent, QStringLiteral("Open"), directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({DataFilter, OldFilter});
    if (!m_lastName.isEmpty())
        dialog.selectFile(m_lastName);
    const QString path = runDialog(dialog);
    if (!path.isEmpty())
        m_lastName = path;
    return path;
}

QString QtFileDialogs::saveFile(const QString& directory, const QString& proposedName) {
    QFileDialog dialog(m_parent, QStringLiteral("Save As"), directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({DataFilter});
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    const QString path = runDialog(dialog);
    if (!path.isEmpty())
        m_lastName = path;
    return path;
}

// ---------------------------------------------------------------------------------------------
// The commands

FileCommands::FileCommands(MainWindow& window, std::unique_ptr<FileDialogs> dialogs)
    : QObject(&window), m_window(window),
      m_dialogs(dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogs>(&window)) {
    using Command = MainWindow::Command;
    window.setCommandHandler(Command::FileNew, [this] { mnuFileNew_Click(); });
    window.setCommandHandler(Command::FileOpen, [this] { mnuFileOpen_Click(); });
    window.setCommandHandler(Command::FileSave, [this] { mnuFileSave_Click(); });
    window.setCommandHandler(Command::FileSaveAs, [this] { mnuFileSaveAs_Click(); });
    for (int i = 1; i <= RecentFiles::Count; ++i)
        window.setCommandHandler(Command(int(Command::RecentFile1) + i - 1),
                                 [this, i] { mnuRecentFile_Click(i); });
    window.setCommandHandler(Command::ShowRecentFiles, [this] { showRecentFiles(); });
    window.setSaveForQuestion([this] { return mnuFileSave_Click(); });
    // The window's start-up rebuilt the menu before these commands were plugged in.
    showRecentFiles();
}

FileCommands::~FileCommands() = default;

RecentFiles FileCommands::recentFiles() const {
    return RecentFiles(m_window.document().startup().productIniPath);
}

QAction* FileCommands::newItem() const {
    return m_window.menuAction(QStringLiteral("mnuFileNew"));
}

void FileCommands::mnuFileNew_Click() {
    Document& doc = m_window.document();
    // A cell still being typed into is part of the data the question is about.
    m_window.CommitCellEdits();
    // Nothing loaded, read or saved since start-up or the last New.
    if (doc.origin() == Origin::New)
        return;
    if (doc.dataUnsaved()) {
        const Answer a =
            m_window.feedback().ask(QStringLiteral("Data hasn't been saved. Do you want to save them?"),
                                    doc.title(), Icon::Exclamation, Buttons::YesNoCancel);
        if (a == Answer::Cancel)
            return;
        // A save that wrote nothing keeps the data: New would lose them.
        if (a == Answer::Yes && !mnuFileSave_Click())
            return;
    }
    leaveTuneView();
    doc.newData(m_window.feedback());
    newItem()->setEnabled(false);
}

void FileCommands::mnuFileOpen_Click() {
    // No unsaved-data question: the data stay until a file has been read successfully.
    loadDataFile(m_dialogs->openFile(m_window.dialogDirectory()));
}

bool FileCommands::mnuFileSave_Click() {
    Document& doc = m_window.document();
    m_window.CommitCellEdits();
    // No file behind the data (start-up, New, a radio read or write, the tune view).
    const std::optional<QString> path = doc.savePath();
    if (!path)
        return mnuFileSaveAs_Click();
    if (doc.save(*path, m_window.feedback()) != SaveStatus::Ok)
        return false;
    newItem()->setEnabled(true);
    return true;
}

bool FileCommands::mnuFileSaveAs_Click() {
    Document& doc = m_window.document();
    {
        const BusyCursor busy;
        m_window.CommitCellEdits();
        doc.collect();
    }
    // Save As proposes the current file name. A file that cannot be written says so ("Save
    // File Error!") and keeps the data unsaved.
    const QString path = m_dialogs->saveFile(m_window.dialogDirectory(), doc.currentFileName());
    if (path.isEmpty())
        return false;
    {
        const BusyCursor busy;
        if (doc.save(path, m_window.feedback()) != SaveStatus::Ok)
            return false;
    }
    recentFiles().addRecentFile(path);
    showRecentFiles();
    newItem()->setEnabled(true);
    return true;
}

void FileCommands::mnuRecentFile_Click(int index) {
    if (QAction* item = m_window.menuAction(QStringLiteral("mnuRecentFile_%1").arg(index)))
        loadDataFile(pathFromRecentItem(item->text()));
}

void FileCommands::leaveTuneView() {
    if (m_window.viewMode() == MainWindow::TuneView)
        m_window.mnuChannel_Click();
}

bool FileCommands::loadDataFile(const QString& path) {
    if (path.isEmpty())
        return false;
    leaveTuneView();
    LoadStatus status;
    {
        const BusyCursor busy;
        status = m_window.document().load(path, m_window.feedback());
    }
    if (status == LoadStatus::NotFound) {
        recentFiles().removeRecentFile(path);
        showRecentFiles();
    }
    if (status != LoadStatus::Ok)
        return false;
    recentFiles().addRecentFile(path);
    showRecentFiles();
    newItem()->setEnabled(true);
    return true;
}

void FileCommands::showRecentFiles() {
    const QStringList entries = recentFiles().entries();
    for (int i = 1; i <= RecentFiles::Count; ++i) {
        QAction* item = m_window.menuAction(QStringLiteral("mnuRecentFile_%1").arg(i));
        const QString& path = entries[i - 1];
        item->setText(path.isEmpty() ? QString() : recentItemText(i, path));
        item->setVisible(!path.isEmpty());
        // Once shown, the separator stays.
        if (!path.isEmpty())
            m_window.menuAction(QStringLiteral("seperator4"))->setVisible(true);
    }
}

} // namespace orv::gui
