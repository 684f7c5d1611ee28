// Data file throughput: load, decode into the editors, encode back, save; in a loop.
// Prints operations per second and the ratio to the target of 10,000 per second, plus the
// in-memory part alone (parse; the document takes the data as from a read: settings, channels
// and test channels decoded; collect; serialise) to show what the disk costs.

#include "Feedback.h"
#include "catalog/IniFile.h"
#include "files/DataFile.h"
#include "document/Document.h"
#include "link/Exchanges.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

using namespace orv;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 20000;
    QTemporaryDir dir;
    const IniFile ini(locateCatalog(QStringLiteral(ORVANTE_SOURCE_DIR "/data/vuxPC.ini")));
    const StartupValues startup = readStartupValues(ini, QString());
    VirtualClock clock;
    Document session(startup, ModelCatalog::read(ini, startup.modelCount), clock, NumberFormat());
    SilentFeedback quiet;
    session.startUp(quiet);
    const QString path = dir.filePath(QStringLiteral("bench.kvd"));
    if (session.save(path, quiet) != SaveStatus::Ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i) {
        if (session.load(path, quiet) != LoadStatus::Ok)
            return 1;
        if (session.save(path, quiet) != SaveStatus::Ok)
            return 1;
    }
    const double withDisk = rounds / (double(t.nsecsElapsed()) / 1e9);

    const QByteArray bytes = serializeDataFile(session.data(), false);
    t.restart();
    for (int i = 0; i < rounds; ++i) {
        const LoadOutcome o = parseDataFile(bytes, session.data());
        session.applyRead(ReadResult{o.data, o.dataVersion}, quiet);
        session.collect();
        if (serializeDataFile(session.data(), false).size() != DataFileSize)
            return 1;
    }
    const double inMemory = rounds / (double(t.nsecsElapsed()) / 1e9);

    std::printf("file load+decode+encode+save: %.0f ops/s, ratio to target 10000/s: %.2f\n", withDisk,
                withDisk / 10000.0);
    std::printf("in memory parse+apply+collect+serialise: %.0f ops/s, ratio to target 10000/s: %.2f\n", inMemory,
                inMemory / 10000.0);
    return 0;
}
