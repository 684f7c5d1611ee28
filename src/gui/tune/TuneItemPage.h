#pragma once
// fraTune: the page of one tune item. It names the item (the frame's caption) and the test
// channel the radio tunes on (fraTuneCH, "Tune CH 4") with that channel's frequencies and
// signalling, and carries the value bar hsbTune (0..255) with OK and Cancel. It only shows
// and reports; the tune workspace sends what the user does to the radio.

#include <QGroupBox>

class QKeyEvent;
class QLabel;
class QPushButton;
class QScrollBar;

namespace orv::gui {

struct TuneItemView {
    QString caption;   // "CTC Deviation(Narrow)"
    int testChannel = 0;
    QString rxFrequency, rxSignal, txFrequency, txSignal;
    int value = 0;
    QString note; // what keeps the item from working on this test channel ("" none)
};

class TuneItemPage : public QGroupBox {
    Q_OBJECT
public:
    explicit TuneItemPage(QWidget* parent = nullptr);

    // Fills the page; the value bar moves without reporting the move.
    void showItem(const TuneItemView& view);

    QScrollBar* hsbTune() const { return m_hsbTune; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    QGroupBox* fraTuneCH() const { return m_fraTuneCH; }
    // "Rx Freq(MHz): " and the others are the captions; these hold the values.
    QLabel* lblRxfreq() const { return m_lblRxfreq; }
    QLabel* lblRxCTC() const { return m_lblRxCTC; }
    QLabel* lblTxFreq() const { return m_lblTxFreq; }
    QLabel* lblTxCTC() const { return m_lblTxCTC; }
    QLabel* lblTuneVal() const { return m_lblTuneVal; }
    // The note line, shown only while there is a note.
    QLabel* lblTuneNote() const { return m_lblTuneNote; }

signals:
    // The user moved the value bar (mouse or keys).
    void valueMoved(int value);

protected:
    // Enter is OK and Escape is Cancel, unless a button has the focus (Enter presses it).
    void keyPressEvent(QKeyEvent* event) override;

private:
    QGroupBox* m_fraTuneCH = nullptr;
    QLabel* m_lblRxfreq = nullptr;
    QLabel* m_lblRxCTC = nullptr;
    QLabel* m_lblTxFreq = nullptr;
    QLabel* m_lblTxCTC = nullptr;
    QLabel* m_lblTuneVal = nullptr;
    QLabel* m_lblTuneNote = nullptr;
    QScrollBar* m_hsbTune = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace orv::gui
