#include "print/PrintCommand.h"

#include "Feedback.h"
#include "ReportPrinter.h"
#include "print/PrintPreviewDialog.h"
#include "document/Document.h"
#include "shell/DialogFolders.h"
#include "shell/FileDialog.h"
#include "shell/MainWindow.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>

namespace orv::gui {

PrintCommand::PrintCommand(MainWindow& window)
    : QObject(&window), m_window(window), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // Report positions are measured from the corner of the paper.
    m_printer->setFullPage(true);
    m_dialogs.choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, &m_window);
        dialog.setWindowTitle(QStringLiteral("Printer"));
        return dialog.exec() == QDialog::Accepted;
    };
    m_dialogs.runPreview = [](PrintPreviewDialog& dialog) { dialog.exec(); };
    m_dialogs.pdfPath = [this](const QString& suggested) { return runFileDialog(*pdfDialog(&m_window, suggested)); };
    window.setCommandHandler(MainWindow::Command::FilePrint, [this] { mnuFilePrint_Click(); });
}

PrintCommand::~PrintCommand() = default;

std::unique_ptr<QFileDialog> PrintCommand::pdfDialog(QWidget* parent, const QString& suggested) {
    const QFileInfo file(suggested);
    auto dialog = makeFileDialog(parent, {QStringLiteral("Save as PDF"), file.path(),
                                          {QStringLiteral("PDF Files (*.pdf)")}, {}, true, file.fileName()});
    dialog->setObjectName(QStringLiteral("dlgPdfFile"));
    return dialog;
}

DialogFolders PrintCommand::folders() const { return DialogFolders(m_window.document().startup().productIniPath); }

Report PrintCommand::currentReport() const {
    const QDateTime now = QDateTime::currentDateTime();
    const Document& doc = m_window.document();
    return m_window.viewMode() == MainWindow::TuneView ? tuneReport(doc, now) : channelReport(doc, now);
}

// Printing is not saving: the editors are collected, and the data still count as unsaved.
void PrintCommand::collectEditors() {
    m_window.CommitCellEdits();
    Document& doc = m_window.document();
    if (doc.channelDataChanged() || doc.settingsChanged())
        doc.collect();
}

void PrintCommand::mnuFilePrint_Click() {
    if (!m_dialogs.choosePrinter(*m_printer))
        return;
    collectEditors();
    const Report report = currentReport();

    PrintPreviewDialog preview(*m_printer, &m_window);
    connect(&preview, &PrintPreviewDialog::paintRequested, &preview, [&report](QPrinter* printer) {
        QPainter painter(printer);
        printReport(painter, report, [printer] { return printer->newPage(); });
    });
    connect(&preview, &PrintPreviewDialog::printRequested, &preview, [&] {
        if (printTo(*m_printer, report) > 0)
            preview.accept();
    });
    connect(&preview, &PrintPreviewDialog::saveAsPdfRequested, &preview, [&] {
        const QString path = m_dialogs.pdfPath(suggestedPdfPath(report));
        if (!path.isEmpty())
            saveAsPdf(report, path);
    });
    m_dialogs.runPreview(preview);
}

int PrintCommand::printTo(QPrinter& printer, const Report& report) {
    QPainter painter;
    int pages = 0;
    if (painter.begin(&printer)) {
        pages = printReport(painter, report, [&printer] { return printer.newPage(); });
        if (pages == 0)
            printer.abort();
        painter.end();
        if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
            pages = 0;
    }
    if (pages == 0)
        m_window.feedback().message(QStringLiteral("Error of connetion with printer. Please try again!"),
                                    QStringLiteral("Error"), Icon::Critical);
    return pages;
}

bool PrintCommand::saveAsPdf(const Report& report, const QString& path) {
    const QString error = writeReportPdf(report, path, m_printer->pageLayout().pageSize());
    if (error.isEmpty()) {
        folders().rememberFolderOf(FileKind::Pdf, path);
        return true;
    }
    m_window.feedback().message(error, QStringLiteral("Save as PDF"), Icon::Exclamation);
    return false;
}

QString PrintCommand::suggestedPdfPath(const Report& report) const {
    const QString file = m_window.document().currentFileName();
    QString name = file.isEmpty() ? QStringLiteral("ORVANTE") : QFileInfo(file).completeBaseName();
    name += report.isTune() ? QStringLiteral(" tune settings.pdf") : QStringLiteral(" settings.pdf");
    return QDir(folders().startFolder(FileKind::Pdf)).filePath(name);
}

} // namespace orv::gui
