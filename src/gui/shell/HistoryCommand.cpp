#include "shell/HistoryCommand.h"

#include "document/Document.h"
#include "history/BackupStore.h"
#include "history/DataFolder.h"
#include "history/HistoryExport.h"
#include "history/HistoryRecorder.h"
#include "history/RadioIdNames.h"
#include "shell/BesideWindow.h"
#include "shell/CompareCommand.h"
#include "shell/DialogFolders.h"
#include "shell/FileCommands.h"
#include "shell/FileDialog.h"
#include "shell/HistoryDialog.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace orv::gui {

HistoryCommand::HistoryCommand(MainWindow& window, OperateCommands& operate, FileCommands& files,
                               CompareCommand& compare)
    : QObject(&window), m_window(window), m_operate(operate), m_files(files), m_compare(compare),
      m_openFolder([](const QUrl& folder) { return QDesktopServices::openUrl(folder); }) {
    window.setCommandHandler(MainWindow::Command::RadioHistory, [this] { mnuRadioHistory_Click(); });
    m_chooseCsv = [this](const QString& folder, const QString& proposedName) {
        QWidget* parent = m_dialog ? static_cast<QWidget*>(m_dialog) : &m_window;
        const auto dialog = makeFileDialog(parent, {QStringLiteral("Export CSV"), folder,
                                                    {QStringLiteral("CSV Files (*.csv)")}, QStringLiteral("csv"),
                                                    true, proposedName});
        return runFileDialog(*dialog);
    };

    QAction* keep = window.menuAction(QStringLiteral("mnuKeepBackups"));
    const QString ini = window.document().startup().productIniPath;
    keep->setCheckable(true);
    keep->setChecked(keepBackups(ini));
    operate.history().setKeepBackups(keep->isChecked());
    connect(keep, &QAction::toggled, this, [this, ini](bool on) {
        setKeepBackups(ini, on);
        m_operate.history().setKeepBackups(on);
    });
    // The recorder may outlive this command (the window goes first).
    operate.history().setRecordedSink([self = QPointer<HistoryCommand>(this)](const HistoryEvent&) {
        if (self)
            self->eventRecorded();
    });
}

HistoryDialog* HistoryCommand::dialog() const { return m_dialog; }

void HistoryCommand::mnuRadioHistory_Click() {
    m_window.CommitCellEdits();
    HistoryRecorder& history = m_operate.history();
    const bool warnedBefore = history.hasWarned();
    HistoryDatabase* db = history.database();
    if (!db) {
        // Unless the run's one warning has just said why.
        if (warnedBefore || !history.hasWarned())
            m_window.feedback().message(
                QStringLiteral("The radio history cannot be shown: %1.").arg(history.databaseError()),
                QStringLiteral("Radio History"), Icon::Exclamation);
        return;
    }
    const bool first = !m_dialog;
    if (first) {
        m_dialog = new HistoryDialog(*db, &m_window);
        const ModelCatalog& catalog = m_window.document().catalog();
        m_dialog->setModelNames([catalog](int value) {
            const ModelInfo* model = catalog.at(catalog.findByValue(value));
            return model ? QStringLiteral("%1 (%2)").arg(model->name).arg(value) : QString::number(value);
        });
        connect(m_dialog, &HistoryDialog::openBackupClicked, this, &HistoryCommand::openBackup);
        connect(m_dialog, &HistoryDialog::compareClicked, this, &HistoryCommand::compareBackup);
        connect(m_dialog, &HistoryDialog::showFolderClicked, this, &HistoryCommand::showFolder);
        connect(m_dialog, &HistoryDialog::exportClicked, this, &HistoryCommand::exportCsv);
    } else {
        m_dialog->reload();
    }
    showBeside(*m_dialog, &m_window, first);
}

void HistoryCommand::eventRecorded() {
    if (m_dialog && m_dialog->isVisible())
        m_dialog->reload();
}

void HistoryCommand::openBackup(const QString& backup) {
    if (backup.isEmpty() || !m_files.saveUnsavedFirst())
        return;
    m_files.loadDataFile(backup);
}

void HistoryCommand::compareBackup(const QString& backup) {
    if (!backup.isEmpty())
        m_compare.compareWithFile(backup, QStringLiteral("Backup"));
}

void HistoryCommand::showFolder(const QString& backup) {
    const QString backups = BackupStore(m_operate.history().dataFolder()).root();
    const QString folder = !backup.isEmpty()     ? QFileInfo(backup).absolutePath()
                           : QDir(backups).exists() ? backups
                                                    : m_operate.history().dataFolder();
    if (!m_openFolder(QUrl::fromLocalFile(folder)))
        m_window.feedback().message(QStringLiteral("The folder %1 could not be shown.").arg(QDir::toNativeSeparators(folder)),
                                    QStringLiteral("Radio History"), Icon::Exclamation);
}

void HistoryCommand::exportCsv() {
    if (!m_dialog)
        return;
    const std::optional<QString> radio = m_dialog->chosenRadio();
    const QString name = radio && !radio->isEmpty()
                             ? QStringLiteral("history-%1.csv").arg(radioIdFolderName(*radio))
                             : QStringLiteral("history.csv");
    const QString path = m_chooseCsv(DialogFolders::documentsFolder(), name);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray csv = historyCsv(m_dialog->shownEvents());
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        m_window.feedback().message(QStringLiteral("The file %1 could not be written.").arg(QDir::toNativeSeparators(path)),
                                    QStringLiteral("Export CSV"), Icon::Exclamation);
        return;
    }
    m_window.showStatusNote(QStringLiteral("The events listed were written to %1.").arg(QDir::toNativeSeparators(path)));
}

} // namespace orv::gui
