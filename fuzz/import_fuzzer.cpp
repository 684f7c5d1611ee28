// Feeds arbitrary bytes to the channel import: JSON when the first character that is not a
// space is "{" or "[", CSV otherwise. Whatever the input, a refused import must leave the
// document exactly as it was, and a document's own export imported onto it must change
// nothing and say nothing.
#include "Clock.h"
#include "Feedback.h"
#include "document/Document.h"
#include "files/ChannelExport.h"
#include "import/GridCells.h"
#include "import/ImportApply.h"
#include "import/JsonImport.h"

#include <QJsonDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace orv;

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

// Two models: the VHF one chosen at start-up and one that snaps to 6.25 kHz only.
Document& document() {
    static VirtualClock clock;
    static Document doc(StartupValues{}, ModelCatalog({{QStringLiteral("VHF"), 7, 136.0, 174.0, 130.0, 176.0},
                                                       {QStringLiteral("PMR"), 32, 446.00625, 446.19375, 446.00625, 446.19375}}),
                        clock, NumberFormat());
    static const bool started = [] {
        SilentFeedback yes;
        doc.startUp(yes);
        return true;
    }();
    (void)started;
    return doc;
}

bool sameData(const DocumentState& a, const DocumentState& b) {
    return a.data == b.data && a.channels == b.channels && a.settings == b.settings && a.tune == b.tune &&
           a.selectedModel == b.selectedModel;
}

// The document's own export in both forms imported onto it: no change, no note, no error.
void ownExportChangesNothing(Document& doc) {
    const DocumentState before = doc.state();
    const ImportInput forms[] = {readChannelCsv(exportCsv(doc)),
                                 readImportJson(QJsonDocument(exportJson(doc, {})).toJson(), doc.catalog())};
    for (const ImportInput& input : forms) {
        const ImportReport r = applyImport(doc, input);
        check(r.errors.isEmpty() && r.notes.isEmpty() && !r.applied);
        check(sameData(doc.state(), before));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Document& doc = document();
    static const DocumentState start = doc.state();
    doc.restore(start);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray head = bytes.trimmed().left(1);
    const ImportInput input =
        head == "{" || head == "[" ? readImportJson(bytes, doc.catalog()) : readChannelCsv(bytes);

    const ImportReport refused = applyImport(doc, input);
    if (!refused.errors.isEmpty()) {
        check(!refused.applied && sameData(doc.state(), start));
        ImportOptions keepGoing;
        keepGoing.keepGoing = true;
        applyImport(doc, input, keepGoing);
    }
    ownExportChangesNothing(doc);
    return 0;
}
