#pragma once
// frmCheck ("Check"): the warnings of the check of the plan, one row a warning in the list
// lstWarnings, or "No warnings." (lblNoWarnings) when there are none. A double-click or Enter
// on a row asks for its place (warningActivated); the owner goes there, or gives back a note
// saying where it is (lblWhere). The dialog is modeless and stays open, so that the
// technician can work down the list; the owner refreshes it as the data change.
//
// It knows nothing of the window: it shows what it is given and reports what the user picks.

#include "check/PlanCheck.h"

#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace orv::gui {

class CheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit CheckDialog(QWidget* parent = nullptr);

    // Shows these warnings; the row chosen before stays chosen while its text is still listed.
    // The note is cleared.
    void setWarnings(std::vector<CheckWarning> warnings);
    const std::vector<CheckWarning>& warnings() const { return m_warnings; }
    // A line under the list saying where a warning's place is when it cannot be shown; empty
    // hides it.
    void setNote(const QString& note);

    QListWidget* list() const { return m_list; }
    QLabel* countLabel() const { return m_count; }
    QLabel* noWarningsLabel() const { return m_none; }
    QLabel* noteLabel() const { return m_note; }
    QPushButton* closeButton() const { return m_close; }

signals:
    // The user chose the warning at this index of warnings().
    void warningActivated(int index);

private:
    void fitToWarnings();

    std::vector<CheckWarning> m_warnings;
    QLabel* m_count = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_none = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace orv::gui
