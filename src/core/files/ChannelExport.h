#pragma once
// What the window shows after opening a file, for scripts: one JSON object, or the channel
// table as CSV with the grid's own headers.

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

} // namespace orv
