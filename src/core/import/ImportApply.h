#pragma once
// Applying an import or a paste to the document: every cell through the rules of typing
// (CellRules), the changes as one step of the document, nothing at all when a cell cannot
// be taken unless the caller asks for the valid cells.

#include "import/ImportInput.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orv {

class Document;
class ModelCatalog;

struct ImportOptions {
    // Apply the cells that can be taken even when others cannot.
    bool keepGoing = false;
    // The step's label; %1 is the number of cells changed.
    QString label = QStringLiteral("Import of %1 Cells");
};

struct ImportReport {
    // Values the rules changed, a model chosen, frequencies brought into range by a channel
    // coming into use: one line each, in the order they were applied.
    QStringList notes;
    // The input's errors and the cells that cannot be taken, each with its place.
    QStringList errors;
    // Cells that changed the document (0 when nothing was applied).
    int cellsChanged = 0;
    // True when the document was changed.
    bool applied = false;
};

// Works out every change on a copy of the document first: the notes, the errors and the
// number of cells that change. Then, when there is no error or `keepGoing` is set, makes the
// same changes to the document through its edit functions, inside one step labelled
// options.label with that number. A cell whose text is what the document shows already is
// passed over: it is not checked nor applied again. The order: the model, the settings
// (Power Select before Monitor, so the Monitor list has its form; Band Width before the
// channels' own), each channel's cells, its "No Tx" and then its "No CH" box (a channel
// coming into use finds its new frequencies there already), the test channels likewise with
// their steps first, the information text.
ImportReport applyImport(Document& doc, const ImportInput& input, const ImportOptions& options = {});

// What applyImport() would give - the notes, the errors, the number of cells that would
// change - without changing the document: for a dialog that shows them before anything is
// applied. `applied` is false.
ImportReport previewImport(const Document& doc, const ImportInput& input);

// True for a name ending in ".csv" or ".json" (either case).
bool isImportFileName(const QString& name);
// A file of the export's: CSV when the name ends in ".csv", JSON when it ends in ".json"
// (either case). Nothing for another name.
std::optional<ImportInput> readImportFile(const QString& name, const QByteArray& bytes, const ModelCatalog& catalog);

} // namespace orv
