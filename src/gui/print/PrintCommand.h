#pragma once
// mnuFilePrint_Click: File > Print... and the toolbar's "Print". The printer dialog
// "Printer" chooses the printer (kept for the rest of the run); then open cell edits are
// finished and the report of the active view (channel and function pages, or in the tune view
// the tune page) shows in a preview, from which the user prints it or saves it as a PDF.
//
// Collecting the editors into the image before printing does not count as saving: the
// changed flags stay as they were, so the unsaved-data question still comes.
//
// "Save as PDF..." starts in the folder of the PDF last written (DialogFolders), proposing
// the data file's name.
//
// Wiring: `new PrintCommand(window)` plugs itself in as MainWindow::Command::FilePrint. Tests
// replace the three dialogs.

#include "Report.h"

#include <QObject>
#include <QPrinter>

class QFileDialog;
class QWidget;

#include <functional>
#include <memory>

namespace orv::gui {

class DialogFolders;
class MainWindow;
class PrintPreviewDialog;

class PrintCommand : public QObject {
    Q_OBJECT
  public:
    struct Dialogs {
        // The printer dialog; false when cancelled.
        std::function<bool(QPrinter&)> choosePrinter;
        // Shows the preview modally and returns when it is closed.
        std::function<void(PrintPreviewDialog&)> runPreview;
        // The file for "Save as PDF..."; empty when cancelled.
        std::function<QString(const QString& suggested)> pdfPath;
    };

    explicit PrintCommand(MainWindow& window);
    ~PrintCommand() override;

    void setDialogs(Dialogs dialogs) { m_dialogs = std::move(dialogs); }

    // The report of the active view as the editors show it now.
    Report currentReport() const;
    // Prints the report on the printer; on failure the document is abandoned and the
    // printer-access message shown. Returns the number of pages printed (0 on failure).
    int printTo(QPrinter& printer, const Report& report);
    // Writes the report as a PDF; a failure is shown. Returns whether the file was written.
    // A PDF written makes its folder the one Save as PDF starts in.
    bool saveAsPdf(const Report& report, const QString& path);

    // The "Save as PDF" dialog as the preview shows it: a file dialog of the program
    // (FileDialog.h) in the folder of `suggested`, proposing its name.
    static std::unique_ptr<QFileDialog> pdfDialog(QWidget* parent, const QString& suggested);

  public slots:
    void mnuFilePrint_Click();

  private:
    // Finishes cell edits and collects the editors into the image, keeping the changed flags.
    void collectEditors();
    QString suggestedPdfPath(const Report& report) const;
    DialogFolders folders() const;

    MainWindow& m_window;
    std::unique_ptr<QPrinter> m_printer;
    Dialogs m_dialogs;
};

} // namespace orv::gui
