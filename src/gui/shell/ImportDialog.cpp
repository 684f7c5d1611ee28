#include "shell/ImportDialog.h"

#include "editors/Twips.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv::gui {

QString ImportDialog::reportText(const ImportReport& preview) {
    QStringList text;
    if (!preview.errors.isEmpty()) {
        text << QStringLiteral("Errors:");
        for (const QString& e : preview.errors)
            text << QStringLiteral("  ") + e;
    }
    if (!preview.notes.isEmpty()) {
        text << QStringLiteral("Notes:");
        for (const QString& n : preview.notes)
            text << QStringLiteral("  ") + n;
    }
    return text.join(QLatin1Char('\n'));
}

ImportDialog::ImportDialog(const QString& title, const ImportReport& preview, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgImport"));
    setWindowTitle(title);
    const bool errors = !preview.errors.isEmpty();
    QString summary = QStringLiteral("%1 cell(s) will change.").arg(preview.cellsChanged);
    if (errors)
        summary = QStringLiteral("%1 error(s): nothing is applied unless you apply the valid cells (%2 cell(s)).")
                      .arg(preview.errors.size())
                      .arg(preview.cellsChanged);
    auto* label = new QLabel(summary, this);
    label->setObjectName(QStringLiteral("lblImportSummary"));
    label->setWordWrap(true);

    m_lines = new QPlainTextEdit(reportText(preview), this);
    m_lines->setObjectName(QStringLiteral("txtImportReport"));
    m_lines->setReadOnly(true);
    m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_lines->setVisible(!preview.errors.isEmpty() || !preview.notes.isEmpty());
    m_lines->setMinimumSize(twipsToPixels(9000, this), twipsToPixels(2400, this));

    auto* buttons = new QDialogButtonBox(this);
    m_apply = buttons->addButton(errors ? QStringLiteral("Apply &Valid Cells") : QStringLiteral("&Apply"),
                                 QDialogButtonBox::AcceptRole);
    m_apply->setObjectName(QStringLiteral("cmdApply"));
    m_apply->setEnabled(preview.cellsChanged > 0);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // With errors the safe choice is the default one.
    (errors ? cancel : m_apply)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_lines, 1);
    layout->addWidget(buttons);
}

} // namespace orv::gui
