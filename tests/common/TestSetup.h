#pragma once
// One place for the test suites' set-up: the start-up values, the small catalogs and a
// document started as the window starts it.

#include "Clock.h"
#include "catalog/ModelCatalog.h"
#include "catalog/NumberText.h"
#include "catalog/StartupConfig.h"
#include "common/RecordingFeedback.h"
#include "document/Document.h"
#include "link/Exchanges.h"

#include <memory>

namespace orv::test {

inline const QString Title = QStringLiteral("ORVANTE Programming Software");

// The VHF model of value 7 (chosen at start-up) and a UHF one.
inline ModelCatalog twoModelCatalog() {
    return ModelCatalog({{QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0},
                         {QStringLiteral("UHF Nine"), 9, 400.0, 470.0, 400.0, 480.0}});
}

// Position 0 (value 7) is chosen at start-up; position 2 has the fixed band width colouring;
// position 3 (value 32) snaps to the 6.25 kHz raster only.
inline ModelCatalog editorCatalog() {
    return ModelCatalog({
        {QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0},
        {QStringLiteral("UHF Nine"), 9, 400.0, 470.0, 400.0, 480.0},
        {QStringLiteral("Fixed"), 10, 450.0, 520.0, 440.0, 520.0},
        {QStringLiteral("PMR"), 32, 446.00625, 446.19375, 446.00625, 446.19375},
    });
}

// The start-up values of a test: the title, the program's INI (none when empty) and the
// catalog size.
inline StartupValues testStartup(int modelCount, const QString& programIni = QString()) {
    StartupValues v;
    v.title = Title;
    v.productIniPath = programIni;
    v.modelCount = modelCount;
    return v;
}

// A document on `catalog`, not started yet (the window starts its own).
inline std::unique_ptr<Document> makeDocument(ModelCatalog catalog, Clock& clock,
                                              const QString& programIni = QString(),
                                              NumberFormat numbers = NumberFormat()) {
    const int count = catalog.size();
    return std::make_unique<Document>(testStartup(count, programIni), std::move(catalog), clock, numbers);
}

// A document started as the window starts it, with its clock and a recording feedback.
struct StartedDocument {
    VirtualClock clock;
    RecordingFeedback feedback;
    std::unique_ptr<Document> document;

    explicit StartedDocument(ModelCatalog catalog = editorCatalog(), NumberFormat numbers = NumberFormat())
        : document(makeDocument(std::move(catalog), clock, QString(), numbers)) {
        document->startUp(feedback);
    }
    Document& doc() { return *document; }
};

// Gives the document other bytes the way a radio read does (the flags stay as they were).
inline void takeBytes(Document& doc, const RadioData& data, Feedback& feedback, int dataVersion = 2) {
    doc.applyRead(ReadResult{data, dataVersion}, feedback);
}

} // namespace orv::test
