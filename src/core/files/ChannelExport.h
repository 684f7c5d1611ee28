#pragma once
// What the window shows after opening a file, for scripts: one JSON object, or the channel
// table as CSV with the grid's own headers.

#include "image/RadioData.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace orv {

class Document;

// Keys: data_version, model, model_byte, channels, settings, test_channels, tune_values,
// radio_info, messages (the decode's messages, in order).
QJsonObject exportJson(const Document& doc, const QStringList& messages);

// One header row (the nine grid headers, then "No CH" and "No Tx") and one row per channel,
// texts as shown, the boxes as 1 or 0. Lines end with LF; fields quoted where needed.
QByteArray exportCsv(const Document& doc);

// The keys of export's JSON: a channel grid column (ColRxFreq..ColBandWidth), a tune grid
// column (TuneColRxFreq..TuneColTxSignal), and the two boxes of both grids as export gives
// them ("No CH" ticked is "in_use": false, "No Tx" ticked is "tx_allowed": false).
QString channelColumnKey(int column);
QString testChannelColumnKey(int column);
inline constexpr char InUseKey[] = "in_use";
inline constexpr char TxAllowedKey[] = "tx_allowed";
// The information text as export gives it: the 96 characters without their trailing zeros.
QString exportedInfoText(const RadioData& data);

} // namespace orv
