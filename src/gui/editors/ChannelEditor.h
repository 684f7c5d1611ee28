#pragma once
// fraChannel: the channel table editor, a view of the document's channel table. The grid
// gridChan shows it; the in-cell frequency editor txtChFreq, the signalling dialog and the
// click toggles send edits to the document; the check boxes chkCH and chkTx mark channels
// out of use or receive-only. Whatever changes the document, the editor shows it again.
//
// gridChan is a QTableView of 17 rows by 9 columns whose row and column numbers are those of
// the channel grid: row 0 and column 0 are the fixed header cells ("CH No.", "CH 1"...),
// row r is channel r. The check boxes are named "chkCH_0".."chkCH_15" and
// "chkTx_0".."chkTx_15" (index = channel - 1).

#include <QFrame>

#include <array>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTableView;

namespace orv {
class Document;
class Feedback;
struct DocumentChange;
}

namespace orv::gui {

class ChannelGridModel;
class GridSelection;
class SignalDialog;

class ChannelEditor : public QFrame {
    Q_OBJECT
public:
    ChannelEditor(Document& document, Feedback& feedback, QWidget* parent = nullptr);

    // Shows the document's channel table (the document replaced its data: start-up, a decode,
    // a load, a new image). An edit still open is dropped: the table it belonged to is gone.
    void showChannels();
    // Finishes an open frequency edit: validation, then the editor is hidden.
    void commitCellEdits();
    // The in-cell frequency editor, txtChFreq (Copy and Paste work on it while it is visible).
    QLineEdit* frequencyEditor() const;

    QTableView* grid() const { return m_grid; }
    // Many cells at once: the selection, copy, paste, Fill Down.
    GridSelection* selection() const { return m_selection; }
    // The signalling dialog while it is open for a cell, else nullptr. It is window-modal and
    // reports through finished(); the cell takes its text when it closes with OK.
    SignalDialog* signalDialog() const { return m_signalDialog; }

signals:
    // A value the rules of typing changed, or what a change of many cells did, in a line for
    // the status bar ("CH 1 Rx Freq(MHz): 446.1 -> 176.00000 (outside 130.00000~176.00000 MHz)").
    void noted(const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutContents();
    bool isEditable(int row, int column) const;
    // A left click (or Space) on a data cell. True when it changed every selected cell of
    // the column at once.
    bool editCell(int row, int column);
    // The frequency or signalling text for the cell being edited, or for every selected cell
    // of its column when several were selected as the edit began.
    void setEditedCells(int row, int column, const QList<int>& rows, const QString& text);
    void openFrequencyEditor(int row, int column);
    void openSignalDialog(int row, int column);
    void signalDialogFinished(int result);
    void commitFrequency();
    void documentChanged(const DocumentChange& change);
    // The boxes of one channel (1..16) from the document.
    void showBoxes(int channel);
    // The current cell; the selection goes with it unless `keepSelection`.
    void setCurrentCell(int row, int column, bool keepSelection = false);
    bool gridKeyPress(QKeyEvent* key);
    bool frequencyKeyPress(QKeyEvent* key);
    void noChToggled(int channel, bool ticked);
    void noTxToggled(int channel, bool ticked);

    Document& m_document;
    Feedback& m_feedback;
    ChannelGridModel* m_model = nullptr;
    GridSelection* m_selection = nullptr;
    QTableView* m_grid = nullptr;
    QLineEdit* m_freqEditor = nullptr;
    QLabel* m_noChCaption = nullptr;
    QLabel* m_noTxCaption = nullptr;
    std::array<QCheckBox*, 16> m_noCh{};
    std::array<QCheckBox*, 16> m_noTx{};
    SignalDialog* m_signalDialog = nullptr;

    // The cell under the open frequency editor (-1: closed) and its text when editing began.
    int m_freqRow = -1;
    int m_freqColumn = -1;
    QString m_restoreText;
    bool m_committing = false;
    // The selected rows of the edited cell's column as its edit began (several: all take it).
    QList<int> m_editRows;
    // The cell whose signalling is being edited (-1: none, or the table was replaced).
    int m_signalRow = -1;
    int m_signalColumn = -1;
    bool m_showing = false;
};

} // namespace orv::gui
