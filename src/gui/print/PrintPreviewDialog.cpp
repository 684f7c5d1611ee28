#include "print/PrintPreviewDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv::gui {

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));

    m_preview = new QPrintPreviewWidget(&printer, this);
    m_preview->setObjectName(QStringLiteral("previewPages"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &PrintPreviewDialog::paintRequested);

    auto* buttons = new QDialogButtonBox(this);
    m_print = buttons->addButton(QStringLiteral("&Print"), QDialogButtonBox::AcceptRole);
    m_print->setObjectName(QStringLiteral("cmdPrint"));
    m_print->setDefault(true);
    m_pdf = buttons->addButton(QStringLiteral("Save as &PDF..."), QDialogButtonBox::ActionRole);
    m_pdf->setObjectName(QStringLiteral("cmdSavePdf"));
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    // The buttons are handled here: AcceptRole must not close the dialog before printing.
    connect(m_print, &QPushButton::clicked, this, &PrintPreviewDialog::printRequested);
    connect(m_pdf, &QPushButton::clicked, this, &PrintPreviewDialog::saveAsPdfRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    const auto zoomKey = [this](const QKeySequence& keys, auto what) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, m_preview, what);
        addAction(action);
    };
    zoomKey(QKeySequence::ZoomIn, [this] { m_preview->zoomIn(); });
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { m_preview->zoomIn(); });
    zoomKey(QKeySequence::ZoomOut, [this] { m_preview->zoomOut(); });
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { m_preview->fitInView(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addWidget(buttons);
    resize(760, 820);
}

} // namespace orv::gui
