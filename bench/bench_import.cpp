// Importing a 16-row CSV with every column onto a document, as orvante-cli import and the
// window's import do it: read, every cell through the rules on a copy of the document, then
// applied as one step. Prints imports per second and the time of one, against the target of
// 50 ms for one import.

#include "Feedback.h"
#include "catalog/IniFile.h"
#include "document/Document.h"
#include "import/GridCells.h"
#include "import/ImportApply.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orv;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 2000;
    const IniFile ini(locateCatalog(QStringLiteral(ORVANTE_SOURCE_DIR "/data/vuxPC.ini")));
    const StartupValues startup = readStartupValues(ini, QString());
    VirtualClock clock;
    Document doc(startup, ModelCatalog::read(ini, startup.modelCount), clock, NumberFormat());
    SilentFeedback quiet;
    doc.startUp(quiet);
    const DocumentState base = doc.state();

    // Every cell differs from the new image's, so every one is checked and applied.
    QByteArray csv = gridColumnNames(Grid::Channels).join(QLatin1Char(',')).toUtf8() + '\n';
    for (int n = 1; n <= 16; ++n)
        csv += QStringLiteral("CH %1,%2,CTC 88.5,%3,DCS 023,Delete,ON,Low,Narrow,0,%4\n")
                   .arg(n)
                   .arg(146.0 + n * 0.0125, 0, 'f', 4)
                   .arg(147.0 + n * 0.0125, 0, 'f', 4)
                   .arg(n % 2)
                   .toUtf8();

    std::vector<double> times;
    times.reserve(size_t(rounds));
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        doc.restore(base);
        t.start();
        const ImportReport r = applyImport(doc, readChannelCsv(csv));
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!r.applied || !r.errors.isEmpty()) {
            std::fprintf(stderr, "the import was refused: %s\n", qPrintable(r.errors.join(QLatin1Char('\n'))));
            return 1;
        }
    }
    double total = 0;
    for (double ms : times)
        total += ms;
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double worst = times.back();
    std::printf("import of a 16-row CSV (11 columns): %.0f imports/s, one import %.3f ms (median), %.3f ms (slowest)\n",
                rounds / (total / 1000.0), median, worst);
    std::printf("ratio of the 50 ms target to one import: %.0f (median), %.0f (slowest)\n", 50.0 / median,
                50.0 / worst);
    return 0;
}
