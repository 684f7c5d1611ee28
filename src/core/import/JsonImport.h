#pragma once
// The export's JSON object read back: the model, the channels, the settings, the test
// channels and the information text. "data_version", "model_byte", "tune_values",
// "messages", the radio ID and the date of the last programming are what the export tells
// and are not taken back. A key the export does not write is an error.

#include "import/ImportInput.h"

#include <QByteArray>

namespace orv {

class ModelCatalog;

// Errors name the place in the object: "channels[3].rx_signal", "settings[\"Beep Tone\"]".
// A "model" is found in the catalog by its name, else by its value, else by its position.
ImportInput readImportJson(const QByteArray& bytes, const ModelCatalog& catalog);

} // namespace orv
