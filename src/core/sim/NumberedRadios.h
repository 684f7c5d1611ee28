#pragma once
// Several virtual radios told apart by their radio IDs: orvante-radio-sim --radios N, the
// command line tool's --demo-radios N and the fleet window's demo radios.

#include "image/RadioData.h"

#include <QByteArray>
#include <QString>

namespace orv::sim {

// Radio i's ID (i from 1): "SIM" and i in four digits, "SIM0001", padded with spaces to the 16
// ID bytes.
QByteArray numberedRadioId(int i);
// `text` as the 16 ID bytes: cut to 16, padded with spaces.
QByteArray radioIdBytes(const QString& text);
// `memory` with `id` (16 bytes) as its radio ID.
RadioData withRadioId(RadioData memory, const QByteArray& id);

// "Demo radio 1".."Demo radio N": the demo radio's memory with its own ID, numberedRadioId(i).
QString demoRadioLabel(int i);
RadioData numberedDemoMemory(int i);

} // namespace orv::sim
