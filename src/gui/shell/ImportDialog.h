#pragma once
// What an import or a paste would do, shown before anything is applied: how many cells
// change, the notes (values the rules of typing changed) and the errors (cells that cannot
// be taken, with their place). Without errors the choice is "Apply" or "Cancel"; with errors
// "Apply Valid Cells" or "Cancel", so that nothing is applied unless the user asks for the
// valid cells.

#include "import/ImportApply.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orv::gui {

class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(const QString& title, const ImportReport& preview, QWidget* parent = nullptr);

    QPlainTextEdit* lines() const { return m_lines; }
    QPushButton* applyButton() const { return m_apply; }

    // The dialog's text: the summary, then "Errors:" and "Notes:" with one line each.
    static QString reportText(const ImportReport& preview);

private:
    QPlainTextEdit* m_lines = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace orv::gui
