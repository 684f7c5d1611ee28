#pragma once
// What an import or a paste brings, before any rule is applied: typed texts for cells of the
// document, each with the place it came from, and what was wrong with the input itself.

#include "import/CellRules.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace orv {

struct CellInput {
    CellTarget target;
    QString text;  // as typed in the file or the pasted text
    QString where; // for errors: "line 4, \"Rx CTC/DCS\"" or "channels[3].rx_signal"
};

struct ImportInput {
    // The catalog model to choose first (a JSON file's "model"); nothing to keep the one shown.
    std::optional<int> modelPosition;
    QList<CellInput> cells;
    // Places that name no cell, malformed lines, unknown keys: "line 5: 10 fields where the
    // header has 11".
    QStringList errors;
};

} // namespace orv
