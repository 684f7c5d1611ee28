#pragma once
// frmHistory ("Radio History"): the radio history of the data folder, read through Qt's SQL
// models on the history's own connection (which belongs to the GUI thread).
//  - tblRadios: one row per radio - Radio ID, Model, Last Seen, Events.
//  - tblEvents: the events of the radio chosen there, newest first - Time, Operation, Result,
//    Message, Port, Backup.
//  - txtSearch: keeps the events whose radio ID, message or operation hold its text (in any
//    letter case), and the radios that have such events.
//  - cmdOpenBackup, cmdCompare ("Compare with Current") and cmdShowFolder act on the chosen
//    event's backup; cmdExportCsv on the events listed. The dialog only says which was asked
//    for (the signals); its owner does it.
// The dialog never writes to the history. Destroy it before the history's connection closes.

#include "history/HistoryEvent.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;

namespace orv {
class HistoryDatabase;
class HistoryEventsModel;
class HistoryRadiosModel;
class HistorySearchProxy;
} // namespace orv

namespace orv::gui {

class RadioSearchProxy;

class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    HistoryDialog(HistoryDatabase& db, QWidget* parent = nullptr);
    ~HistoryDialog() override;

    // How the Model column names a model code ("PV-1600 (7)"); by default the number.
    void setModelNames(std::function<QString(int modelValue)> name);
    // Reads the history again (an event was recorded). The chosen radio stays chosen while it
    // is listed; else the first radio listed is.
    void reload();

    // The radio chosen in tblRadios; nothing when none is listed.
    std::optional<QString> chosenRadio() const;
    // The event chosen in tblEvents.
    std::optional<HistoryEvent> chosenEvent() const;
    // Every event tblEvents lists (all of them, not only the rows read so far), in its order.
    std::vector<HistoryEvent> shownEvents() const;

    QLineEdit* searchField() const { return m_search; }
    QTableView* radiosView() const { return m_radiosView; }
    QTableView* eventsView() const { return m_eventsView; }
    QLabel* eventsLabel() const { return m_eventsLabel; }
    QPushButton* openBackupButton() const { return m_openBackup; }
    QPushButton* compareButton() const { return m_compare; }
    QPushButton* showFolderButton() const { return m_showFolder; }
    QPushButton* exportButton() const { return m_export; }

signals:
    void openBackupClicked(const QString& backup);
    void compareClicked(const QString& backup);
    // The chosen event's backup, or "" when it has none.
    void showFolderClicked(const QString& backup);
    void exportClicked();

private:
    // The search field's text applied to both lists; `radio` stays chosen while it is listed.
    void applySearch(const std::optional<QString>& radio);
    void arrangeColumns();
    void radioChosen();
    void eventChosen();
    void chooseRadio(const std::optional<QString>& radioId);
    // The chosen event's backup when its file is there, else "".
    QString chosenBackup() const;

    HistoryDatabase& m_db;
    HistoryRadiosModel* m_radios = nullptr;
    RadioSearchProxy* m_radiosShown = nullptr;
    HistoryEventsModel* m_events = nullptr;
    HistorySearchProxy* m_eventsShown = nullptr;
    std::optional<QString> m_eventsOf; // the radio whose events m_events holds
    QLineEdit* m_search = nullptr;
    QTableView* m_radiosView = nullptr;
    QTableView* m_eventsView = nullptr;
    QLabel* m_eventsLabel = nullptr;
    QPushButton* m_openBackup = nullptr;
    QPushButton* m_compare = nullptr;
    QPushButton* m_showFolder = nullptr;
    QPushButton* m_export = nullptr;
};

} // namespace orv::gui
