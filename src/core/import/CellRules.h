#pragma once
// The rules a typed cell goes through before the document takes it, the same as typing it
// in the window: frequencies limited to the model's extended range and put on the raster,
// signalling entries from the CTC and DCS tables, the toggles' own texts, the entries of the
// settings lists, the "No CH" and "No Tx" boxes. The import and a paste into the grids give
// every cell to cellRule() and the text it gives to applyCellText().

#include <QString>

namespace orv {

class Document;

// Which cell of the document a text is for.
enum class CellKind {
    ChannelCell, // column: ColRxFreq..ColBandWidth
    ChannelNoCh,
    ChannelNoTx,
    TestCell,    // column: TuneColRxFreq..TuneColTxSignal
    TestNoCh,
    TestNoTx,
    Setting,     // column: the Setting
    InfoText,    // the radio information text
};

struct CellTarget {
    CellKind kind = CellKind::ChannelCell;
    int row = 0;    // channel 1..16 or test channel 1..11; 0 for a setting and the information text
    int column = 0; // the ChannelColumn, TuneColumn or Setting
    bool operator==(const CellTarget&) const = default;
};

// What the rules made of a typed text.
struct CellRule {
    QString text;  // the text the document takes (the typed one made valid)
    QString note;  // when the rules changed the value: "CH 1 Rx Freq(MHz): 446.1 -> 176.00000
                   // (outside 130.00000~176.00000 MHz)"
    QString error; // when it cannot be taken: "\"CTC 99.9\" is not a CTCSS tone"
    bool ok() const { return error.isEmpty(); }
};

// The cell as notes name it: "CH 1 Rx Freq(MHz)", "Test CH 2 Step (kHz)", "CH 3 No CH",
// "Band Width", "Radio Information".
QString cellName(const CellTarget& target);

// What the document shows in the cell now, in the form the rules give (the boxes "1" or
// "0", the information text without its trailing zero codes).
QString shownText(const Document& doc, const CellTarget& target);

// The rules for a typed text in the cell, against the document as it is now (its model, its
// global band width, its test channel's step, its Monitor list).
CellRule cellRule(const Document& doc, const CellTarget& target, const QString& typed);

// Gives the document a text that cellRule() gave, through its edit function for the cell
// (a step cell that differs is clicked, so the frequency beside it follows the new step).
// True when the document changed.
bool applyCellText(Document& doc, const CellTarget& target, const QString& text);

} // namespace orv
