#include "shell/FileCommands.h"

#include "files/RecentFiles.h"
#include "document/Document.h"
#include "shell/BusyCursor.h"
#include "shell/DialogFolders.h"
#include "shell/FileDialog.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

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

// Open and Save As are one dialog object to the user: the same name, the data filter first.
std::unique_ptr<QFileDialog> dataDialog(QWidget* parent, FileDialogSpec spec) {
    spec.defaultSuffix = DefaultSuffix;
    spec.proposedName = QFileInfo(spec.proposedName).fileName();
    auto dialog = makeFileDialog(parent, spec);
    dialog->setObjectName(QStringLiteral("dlgCommonDialog"));
    return dialog;
}

} // namespace

QStringList openFileFilters() { return {DataFilter, OldFilter}; }

// ---------------------------------------------------------------------------------------------
// The dialogs

std::unique_ptr<QFileDialog> QtFileDialogs::openDialog(const QString& directory) const {
    // An existing file is asked for: the last name only where that file is.
    const bool lastHere = !m_lastName.isEmpty() && QDir(QFileInfo(m_lastName).absolutePath()) == QDir(directory);
    return dataDialog(m_parent, {QStringLiteral("Open"), directory, openFileFilters(), {}, false,
                                 lastHere ? m_lastName : QString()});
}

std::unique_ptr<QFileDialog> QtFileDialogs::saveDialog(const QString& directory, const QString& proposedName) const {
    return dataDialog(m_parent, {QStringLiteral("Save As"), directory, {DataFilter}, {}, true, proposedName});
}

QString QtFileDialogs::openFile(const QString& directory) {
    const QString path = runFileDialog(*openDialog(directory));
    if (!path.isEmpty())
        m_lastName = path;
    return path;
}

QString QtFileDialogs::saveFile(const QString& directory, const QString& proposedName) {
    const QString path = runFileDialog(*saveDialog(directory, proposedName));
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
    connect(&window.document(), &Document::changed, this, &FileCommands::followDataFile);
    // The window's start-up rebuilt the menu before these commands were plugged in.
    showRecentFiles();
}

FileCommands::~FileCommands() = default;

RecentFiles FileCommands::recentFiles() const {
    return RecentFiles(m_window.document().startup().productIniPath);
}

void FileCommands::followDataFile() {
    const std::optional<QString> file = m_window.document().savePath();
    if (!file || *file == m_followedFile)
        return;
    m_followedFile = *file;
    DialogFolders(m_window.document().startup().productIniPath).rememberFolderOf(FileKind::Data, *file);
}

QString FileCommands::startFolder() const {
    return DialogFolders(m_window.document().startup().productIniPath).startFolder(FileKind::Data);
}

QAction* FileCommands::newItem() const {
    return m_window.menuAction(QStringLiteral("mnuFileNew"));
}

void FileCommands::mnuFileNew_Click() {
    Document& doc = m_window.document();
    // A cell still being typed into is part of the data the question is about.
    m_window.CommitCellEdits();
    // Nothing loaded, read or saved since start-up or the last New.
    if (doc.origin() == Origin::New || !saveUnsavedFirst())
        return;
    leaveTuneView();
    doc.newData(m_window.feedback());
    newItem()->setEnabled(false);
}

bool FileCommands::saveUnsavedFirst() {
    Document& doc = m_window.document();
    m_window.CommitCellEdits();
    if (!doc.dataUnsaved())
        return true;
    const Answer a = m_window.feedback().ask(QStringLiteral("Data hasn't been saved. Do you want to save them?"),
                                             doc.title(), Icon::Exclamation, Buttons::YesNoCancel);
    // A save that wrote nothing keeps the data: going on would lose them.
    return a == Answer::No || (a == Answer::Yes && mnuFileSave_Click());
}

void FileCommands::mnuFileOpen_Click() {
    // No unsaved-data question: the data stay until a file has been read successfully.
    loadDataFile(m_dialogs->openFile(startFolder()));
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
    const QString path = m_dialogs->saveFile(startFolder(), doc.currentFileName());
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
