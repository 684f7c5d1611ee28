#pragma once
// frmDifferences ("Differences"): every difference between the data in the window and another
// data set (a data file, the radio, a backup), one row each in the list lstDifferences:
// section, place, field, this side, the other side. lblSides says what the two sides are;
// cboScope shows all differences or only what Write sends ("Programming"); cmdCopy puts the
// list on the clipboard in the text form of `orvante-cli diff`; lblNoDifferences says "No
// differences" when the scope has none. A double-click or Enter on a row asks for its place
// (differenceActivated); the owner goes there, or gives back a note saying why it cannot
// (lblWhere). The dialog is modeless, so that the technician can work down the list.
//
// It knows nothing of the window and changes no data: it lists what its source gives for the
// scope shown, again whenever it is told to refresh.

#include "compare/Difference.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace orv::gui {

class DifferencesDialog : public QDialog {
    Q_OBJECT
public:
    // The differences of a scope.
    using Source = std::function<compare::Differences(compare::Scope)>;

    explicit DifferencesDialog(QWidget* parent = nullptr);

    // What is compared: a sentence naming both sides, the two column headers ("Current
    // Data", "Radio") and where the differences come from. Lists them in the scope shown;
    // the note is cleared.
    void setComparison(const QString& sides, const QString& thisHeader, const QString& otherHeader, Source source);
    // Lists the differences again (one side changed). The row chosen before stays chosen while
    // its place and field are still listed.
    void refresh();

    compare::Scope scope() const;
    void setScope(compare::Scope scope);
    const compare::Differences& differences() const { return m_differences; }
    // The list as `orvante-cli diff` prints it: a line per difference, then the count.
    QString copyText() const;
    // A line under the list saying where a difference's place is when it cannot be shown;
    // empty hides it.
    void setNote(const QString& note);

    QLabel* sidesLabel() const { return m_sides; }
    QComboBox* scopeBox() const { return m_scope; }
    QLabel* countLabel() const { return m_count; }
    QTreeWidget* list() const { return m_list; }
    QLabel* noDifferencesLabel() const { return m_none; }
    QLabel* noteLabel() const { return m_note; }
    QPushButton* copyButton() const { return m_copy; }
    QPushButton* closeButton() const { return m_close; }

signals:
    // The user chose this difference.
    void differenceActivated(const orv::compare::Difference& difference);

public slots:
    // Puts copyText() on the clipboard.
    void copy();

private:
    void fillList();
    void fitColumns();

    Source m_source;
    compare::Differences m_differences;
    QLabel* m_sides = nullptr;
    QComboBox* m_scope = nullptr;
    QLabel* m_count = nullptr;
    QTreeWidget* m_list = nullptr;
    QLabel* m_none = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace orv::gui
