#pragma once
// The channel table as the channel grid shows it: per channel the eight cell texts and the
// two boxes "No CH" (not in use) and "No Tx" (receive only). Filling it from the image and
// storing it back are the only ways it meets the bytes.

#include "RadioData.h"
#include "catalog/NumberText.h"

#include <QString>
#include <QStringList>
#include <array>

namespace orv {

enum ChannelColumn : int {
    ColChannel = 0, // "CH n", not editable
    ColRxFreq = 1,
    ColRxSignal = 2,
    ColTxFreq = 3,
    ColTxSignal = 4,
    ColScan = 5,      // "Add" / "Delete"
    ColBusy = 6,      // "ON" / "OFF"
    ColPower = 7,     // "High" / "Low"
    ColBandWidth = 8, // "Wide" / "Narrow"
    ChannelColumnCount = 9,
};

struct ChannelRow {
    std::array<QString, ChannelColumnCount> cells;
    bool noCh = false; // channel not in use
    bool noTx = false; // channel may not transmit
    bool operator==(const ChannelRow&) const = default;
};

struct ChannelTable {
    std::array<ChannelRow, addr::ChannelCount> rows;
    bool operator==(const ChannelTable&) const = default;
};

// "CH No.", "Rx Freq(MHz)", ... "Band Width".
QStringList channelHeaders();

// Fills every row from the channel records.
void showChannels(const RadioData& data, ChannelTable& table, const NumberFormat& fmt);
// Fills one row from channel record n (0..15).
void showChannel(const RadioData& data, int n, ChannelRow& row, const NumberFormat& fmt);
// Stores every row back: flags, frequencies, signalling and the four switches of byte 10.
// Bytes 11-15 and the unedited bits of byte 10 are kept. A cell that does not convert leaves
// its bytes as they were.
void saveChannels(const ChannelTable& table, RadioData& data, const NumberFormat& fmt);

// The global band width applied to the table: with "Narrow" every row's Band Width cell
// reads "Narrow"; with "Wide" the cells keep their values.
void applyBandWidth(ChannelTable& table, const QString& globalBandWidth);

// The text a two-valued cell takes when clicked ("Add" <-> "Delete", "OFF" <-> "ON",
// "High" <-> "Low", "Wide" <-> "Narrow").
QString toggledCellText(int column, const QString& text);

} // namespace orv
