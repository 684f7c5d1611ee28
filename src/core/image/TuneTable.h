#pragma once
// The radio's 11 test channels as the tune grid shows them: receive and transmit frequency,
// step ("6.25" or "5.00") and signalling, with the "No CH" and "No Tx" boxes.

#include "RadioData.h"
#include "catalog/NumberText.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace orv {

struct ModelInfo;

enum TuneColumn : int {
    TuneColChannel = 0,
    TuneColRxFreq = 1,
    TuneColRxStep = 2,
    TuneColRxSignal = 3,
    TuneColTxFreq = 4,
    TuneColTxStep = 5,
    TuneColTxSignal = 6,
    TuneColumnCount = 7,
};

struct TuneRow {
    std::array<QString, TuneColumnCount> cells;
    bool noCh = false;
    bool noTx = false;
    bool operator==(const TuneRow&) const = default;
};

struct TuneTable {
    std::array<TuneRow, addr::TestChannelCount> rows;
    bool operator==(const TuneTable&) const = default;
};

// "CH No.", "Rx Freq (MHz)", "Step (kHz)", "Rx CTC/DCS", "Tx Freq (MHz)", "Step (kHz)", "Tx CTC/DCS".
QStringList tuneHeaders();

// The step text of a raster flag: "6.25" or "5.00" (with the format's decimal separator).
QString stepText(bool raster625, const NumberFormat& fmt);

// Fills the table from the test-channel records.
void showTuneChannels(const RadioData& data, TuneTable& table, const NumberFormat& fmt);
// Fills one row from test-channel record t (0..10).
void showTuneChannel(const RadioData& data, int t, TuneRow& row, const NumberFormat& fmt);
// Stores the table back into the test-channel records (flags, step, frequency count,
// signalling); the other bits of bytes 2 and 7 and bytes 10-15 are kept.
void readTuneChannels(const TuneTable& table, RadioData& data, const NumberFormat& fmt);
// Every test-channel record cleared, then both frequencies set to the model's standard range
// start on the 6.25 kHz raster, "No CH" and "No Tx" (no model: 0 MHz).
void defaultTuneChannels(RadioData& data, const ModelInfo* model);

// A typed test frequency put on the raster of its step: frequency / step rounded (a half to
// the even neighbour), times the step, then limited to the model's extended range, as
// "000.00000". Nothing for an empty text or one that is not a number.
std::optional<QString> snapTestFrequency(const QString& text, bool raster625, const ModelInfo* model,
                                         const NumberFormat& fmt);
// The next frequency of the step's raster above (direction > 0) or below (direction < 0) the
// text's, kept on that raster inside the model's extended range, as "000.00000". Nothing for
// a text that is not a number.
std::optional<QString> stepTestFrequency(const QString& text, bool raster625, int direction,
                                         const ModelInfo* model, const NumberFormat& fmt);
// A click on a step cell (TuneColRxStep or TuneColTxStep): "6.25" becomes "5.00" and anything
// else "6.25", and the frequency left of it is snapped to the new step. A frequency that is
// not a number is left as it is.
void toggleTestStep(TuneRow& row, int stepColumn, const ModelInfo* model, const NumberFormat& fmt);

// The first test channel in use (1..11), or 0 when none is.
int firstTestChannelInUse(const RadioData& data);

} // namespace orv
