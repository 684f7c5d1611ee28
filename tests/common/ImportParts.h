#pragma once
// The parts of the export's JSON object that an import takes back: the object less
// "data_version", "model_byte", "tune_values", "messages", the radio ID and the date of the
// last programming.

#include <QJsonObject>

namespace orv::test {

inline QJsonObject importedParts(QJsonObject o) {
    for (const char* key : {"data_version", "model_byte", "tune_values", "messages"})
        o.remove(QLatin1String(key));
    QJsonObject info = o.value(QLatin1String("radio_info")).toObject();
    info.remove(QLatin1String("radio_id"));
    info.remove(QLatin1String("last_programmed"));
    o.insert(QLatin1String("radio_info"), info);
    return o;
}

} // namespace orv::test
