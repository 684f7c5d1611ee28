#pragma once
// The radio history for scripts and for the eye: JSON, CSV and text, one event a row, in the
// order given (the history lists newest first).

#include "history/HistoryEvent.h"

#include <QByteArray>
#include <QJsonArray>
#include <QStringList>
#include <vector>

namespace orv {

// The JSON keys of an event, which are also the CSV columns: time, radio_id, model_value,
// data_version, port, operation, result, message, sha256, backup.
const QStringList& historyColumns();

// An array of objects with exactly those keys. model_value and data_version are numbers, or
// null when the radio did not answer; sha256 and backup are null when there is none.
QJsonArray historyJson(const std::vector<HistoryEvent>& events);
// A header row, then one row per event; a null is an empty field.
QByteArray historyCsv(const std::vector<HistoryEvent>& events);
// Aligned columns under a header, the backup on a line of its own; nothing for no events.
QString historyText(const std::vector<HistoryEvent>& events);

} // namespace orv
