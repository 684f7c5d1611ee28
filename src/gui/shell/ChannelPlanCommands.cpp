#include "shell/ChannelPlanCommands.h"

#include "document/Document.h"
#include "editors/ChannelEditor.h"
#include "editors/GridSelection.h"
#include "files/ChannelExport.h"
#include "shell/DialogFolders.h"
#include "shell/FileDialog.h"
#include "shell/ImportDialog.h"
#include "shell/MainWindow.h"
#include "tune/TuneChannelsPage.h"

#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QMimeData>
#include <QSaveFile>

namespace orv::gui {

namespace {

const QString PlanFilter = QStringLiteral("Channel Plans (*.csv *.json)");
const QString CsvFilter = QStringLiteral("CSV Files (*.csv)");
const QString JsonFilter = QStringLiteral("JSON Files (*.json)");
// Far more than any channel plan: a file past this is not one.
constexpr qint64 LongestPlan = 4 * 1024 * 1024;
// Marks the clipboard's cells as copied from a grid of this program.
const QString OwnCellsFormat = QStringLiteral("application/x-orvante-cells");

} // namespace

ChannelPlanCommands::ChannelPlanCommands(MainWindow& window) : QObject(&window), m_window(window) {
    m_chooseFile = [this](bool save, const QString& folder) {
        FileDialogSpec spec;
        spec.title = save ? QStringLiteral("Export Channels") : QStringLiteral("Import Channels");
        spec.folder = folder;
        spec.nameFilters = save ? QStringList{CsvFilter, JsonFilter} : QStringList{PlanFilter};
        spec.defaultSuffix = save ? QStringLiteral("csv") : QString();
        spec.save = save;
        const auto dialog = makeFileDialog(&m_window, spec);
        return runFileDialog(*dialog);
    };
    m_confirm = [this](const QString& title, const ImportReport& preview) {
        ImportDialog dialog(title, preview, &m_window);
        return dialog.exec() == QDialog::Accepted;
    };
    using Command = MainWindow::Command;
    window.setCommandHandler(Command::ImportChannels, [this] { importChannels(); });
    window.setCommandHandler(Command::ExportChannels, [this] { exportChannels(); });
    window.setCommandHandler(Command::CopyCells, [this] { copyCells(); });
    window.setCommandHandler(Command::PasteCells, [this] { pasteCells(); });
    window.setCommandHandler(Command::FillDown, [this] { fillDown(); });
}

GridSelection* ChannelPlanCommands::activeSelection() const {
    if (m_window.viewMode() == MainWindow::TuneView) {
        const auto* tune = m_window.findChild<TuneChannelsPage*>();
        return tune ? tune->selection() : nullptr;
    }
    return m_window.channelEditor()->selection();
}

void ChannelPlanCommands::tell(const ImportReport& report) {
    if (!report.notes.isEmpty())
        m_window.showStatusNote(report.notes.join(QStringLiteral("  ")));
}

void ChannelPlanCommands::importChannels() {
    m_window.CommitCellEdits();
    const DialogFolders folders(m_window.document().startup().productIniPath);
    const QString path = m_chooseFile(false, folders.startFolder(FileKind::ChannelPlan));
    if (path.isEmpty())
        return;
    const QString title = QStringLiteral("Import Channels");
    Feedback& feedback = m_window.feedback();
    QFile file(path);
    // Only a regular file of a sane length: a FIFO or a device would block or never end.
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() > LongestPlan || !file.open(QIODevice::ReadOnly)) {
        feedback.message(QStringLiteral("%1 cannot be read as a channel plan.").arg(path), title, Icon::Exclamation);
        return;
    }
    const std::optional<ImportInput> input = readImportFile(path, file.read(LongestPlan), m_window.document().catalog());
    if (!input) {
        feedback.message(QStringLiteral("A channel plan is a .csv or a .json file."), title, Icon::Exclamation);
        return;
    }
    folders.rememberFolderOf(FileKind::ChannelPlan, path);
    const ImportReport preview = previewImport(m_window.document(), *input);
    if (!m_confirm(title, preview))
        return;
    ImportOptions options;
    options.keepGoing = !preview.errors.isEmpty();
    tell(applyImport(m_window.document(), *input, options));
}

bool ChannelPlanCommands::exportChannels() {
    m_window.CommitCellEdits();
    const DialogFolders folders(m_window.document().startup().productIniPath);
    const QString path = m_chooseFile(true, folders.startFolder(FileKind::ChannelPlan));
    if (path.isEmpty())
        return false;
    const Document& doc = m_window.document();
    const QByteArray bytes = path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)
                                 ? QJsonDocument(exportJson(doc, {})).toJson(QJsonDocument::Indented)
                                 : exportCsv(doc);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_window.feedback().message(
            QStringLiteral("The channel plan cannot be written to %1: %2").arg(path, file.errorString()),
            QStringLiteral("Export Channels"), Icon::Exclamation);
        return false;
    }
    folders.rememberFolderOf(FileKind::ChannelPlan, path);
    m_window.showStatusNote(QStringLiteral("Channel plan written to %1").arg(path));
    return true;
}

void ChannelPlanCommands::copyCells() {
    if (GridSelection* selection = activeSelection()) {
        const QString text = selection->copyText();
        if (text.isEmpty())
            return;
        auto* mime = new QMimeData;
        mime->setText(text);
        mime->setData(OwnCellsFormat, QByteArray("1"));
        QGuiApplication::clipboard()->setMimeData(mime);
    }
}

void ChannelPlanCommands::pasteCells() {
    GridSelection* selection = activeSelection();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const QString text = mime ? mime->text() : QString();
    if (!selection || text.trimmed().isEmpty())
        return;
    // Cells copied from a grid here go where the user pastes them; a spreadsheet's rows go to
    // the channels they name.
    const bool ownCells = mime->hasFormat(OwnCellsFormat);
    const ImportReport report = selection->paste(
        text, [this](const ImportReport& preview) { return m_confirm(QStringLiteral("Paste"), preview); }, ownCells);
    tell(report);
}

void ChannelPlanCommands::fillDown() {
    m_window.CommitCellEdits();
    if (GridSelection* selection = activeSelection())
        tell(selection->fillDown());
}

} // namespace orv::gui
