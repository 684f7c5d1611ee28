#pragma once
// fraTuneSet ("Tuning Channels"): the test-channel page of the tune workspace, a view of the
// document's tune table: edits go to the document, and whatever changes the document shows
// here again. The grid gridTune shows the tune table - the radio's 11 test channels with receive and
// transmit frequency, step and signalling. The in-cell editor txtTuneFreq edits frequencies,
// a click on a step cell switches between 6.25 and 5 kHz, the signalling dialog edits the
// CTC/DCS cells. Beside each row: the option that makes it the test channel used for tuning
// and the "No CH" / "No Tx" boxes. The button below writes the test channels into the radio
// (through the owner, which holds the radio link).
//
// gridTune is a QTableView of 12 rows by 7 columns whose row and column numbers are those of
// the tune grid: row 0 and column 0 are the header cells, row t is test channel t. The
// per-row widgets are named "optTestCh_<i>", "chkTuneCH_<i>", "chkTuneTx_<i>" (i = t - 1).

#include <QGroupBox>

#include <array>

class QButtonGroup;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QTableView;

namespace orv {
class Document;
class Feedback;
struct DocumentChange;
}

namespace orv::gui {

class GridSelection;
class SignalDialog;
class TuneGridModel;

class TuneChannelsPage : public QGroupBox {
    Q_OBJECT
public:
    TuneChannelsPage(Document& document, Feedback& feedback, QWidget* parent = nullptr);

    // Shows the document's tune table in the grid and the boxes; the current test channel's
    // option is selected and its boxes disabled. An edit still open is dropped. The tune data
    // changed flag is left as it is.
    void showTuneChannels();
    // Finishes an open frequency edit: the check, then the editor is hidden.
    void commitCellEdits();

    QLineEdit* frequencyEditor() const;
    QTableView* grid() const;
    // Many cells at once: the selection, copy, paste, Fill Down.
    GridSelection* selection() const { return m_selection; }
    QRadioButton* optTestCh(int i) const;
    QCheckBox* chkTuneCH(int i) const;
    QCheckBox* chkTuneTx(int i) const;
    QPushButton* cmdSaveTnFq() const;
    // The signalling dialog while it is open for a cell, else nullptr. It is window-modal and
    // reports through finished(); the cell takes its text when it closes with OK.
    SignalDialog* signalDialog() const { return m_signalDialog; }

signals:
    // "&Write Frequencies of Tune" was clicked (an open edit is finished first).
    void writeRequested();
    // A click on the page's empty area.
    void backgroundClicked();
    // The user chose the test channel used for tuning (1..11).
    void testChannelChosen(int testChannel);
    // What a change of many cells did, in a line for the status bar.
    void noted(const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct RowWidgets {
        QRadioButton* test = nullptr;
        QCheckBox* noCh = nullptr;
        QCheckBox* noTx = nullptr;
    };

    void createRowWidgets();
    void layoutContents();
    QMargins groupBoxMargins() const;
    // A left click (or Space) on a data cell. True when it changed every selected cell of
    // the column at once.
    bool editCell(int row, int column);
    // The text for the cell being edited, or for every selected cell of its column when
    // several were selected as the edit began.
    void setEditedCells(int row, int column, const QString& text);
    void openFrequencyEditor(int row, int column);
    void checkFrequency();
    void closeFrequencyEditor();
    bool frequencyKeyPress(QKeyEvent* key);
    void stepFrequency(int direction);
    void openSignalDialog(int row, int column);
    bool gridKeyPress(QKeyEvent* key);
    // The current cell; the selection goes with it unless `keepSelection`.
    void setCurrentCell(int row, int column, bool keepSelection = false);
    bool isStep625Beside(int row, int frequencyColumn) const;
    void documentChanged(const DocumentChange& change);
    void showRows();
    void noChToggled(int i, bool ticked);
    void noTxToggled(int i, bool ticked);
    void testChannelClicked(int i);
    // The options show the document's test channel; the boxes and options are enabled by the
    // rows' states (the test channel in use keeps both boxes disabled).
    void showTestChannelOption();
    void enableRowWidgets();

    Document& m_document;
    Feedback& m_feedback;
    TuneGridModel* m_model = nullptr;
    GridSelection* m_selection = nullptr;
    // The selected rows of the edited cell's column as its edit began.
    QList<int> m_editRows;
    QTableView* m_grid = nullptr;
    QLineEdit* m_freqEditor = nullptr;
    std::array<QLabel*, 3> m_captions{};
    std::array<RowWidgets, 11> m_rows{};
    QButtonGroup* m_testChannels = nullptr;
    QPushButton* m_write = nullptr;
    SignalDialog* m_signalDialog = nullptr;

    // The cell under the open frequency editor (-1: closed) and its restore value.
    int m_editRow = -1;
    int m_editColumn = -1;
    QString m_restoreText;
    bool m_checking = false;
    // The cell whose signalling is being edited (-1: none, or the table was shown again).
    int m_signalRow = -1;
    int m_signalColumn = -1;
    bool m_showing = false;
};

} // namespace orv::gui
