#pragma once
// The print preview: the report's pages as they will come out of the chosen printer, with
// "&Print" (the default button: prints on that printer), "Save as &PDF..." and "&Close".
// Ctrl++ and Ctrl+- zoom, Ctrl+0 fits the page; Escape closes.

#include <QDialog>

class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace orv::gui {

class PrintPreviewDialog : public QDialog {
    Q_OBJECT
  public:
    PrintPreviewDialog(QPrinter& printer, QWidget* parent = nullptr);

    QPrintPreviewWidget* preview() const { return m_preview; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* pdfButton() const { return m_pdf; }

  signals:
    // The preview needs the pages drawn on this printer.
    void paintRequested(QPrinter* printer);
    // "&Print": print on the chosen printer. The dialog closes when the handler accepts it.
    void printRequested();
    void saveAsPdfRequested();

  private:
    QPrintPreviewWidget* m_preview = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_pdf = nullptr;
};

} // namespace orv::gui
