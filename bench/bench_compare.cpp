// Comparing two data files: the demo radio's file against a copy that differs in a channel,
// a setting, a test channel, a tune value, the information text and a raw byte. Prints
// operations per second and the ratio to the target of 50,000 per second for the whole
// comparison of the two data sets (each opened as the window opens a file, then compared),
// and for the comparison of two sides already opened (what the window's scope switch costs).

#include "catalog/IniFile.h"
#include "catalog/StartupConfig.h"
#include "compare/Compare.h"
#include "files/DataFile.h"
#include "image/RadioInfoText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>

using namespace orv;
using namespace orv::compare;

namespace {

constexpr double Target = 50000.0;

// Operations per second of `op` over `rounds` runs; false from op stops the run.
double rate(int rounds, const std::function<bool()>& op) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < rounds; ++i)
        if (!op())
            return 0;
    return rounds / (double(t.nsecsElapsed()) / 1e9);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 20000;
    const IniFile ini(locateCatalog(QStringLiteral(ORVANTE_SOURCE_DIR "/data/vuxPC.ini")));
    const StartupValues startup = readStartupValues(ini, QString());
    const LoadOutcome loaded = readDataFile(QStringLiteral(ORVANTE_SOURCE_DIR "/data/samples/demo-radio.kvd"), RadioData{});
    if (loaded.status != LoadStatus::Ok) {
        std::fprintf(stderr, "bench_compare: cannot read the demo radio's file\n");
        return 1;
    }
    const DataSet a{loaded.data, loaded.dataVersion};
    DataSet b = a;
    b.data.channel(2)[0] ^= 0x04;
    b.data.functionSettings()[7] = 0x12;
    b.data.testChannel(0)[1] ^= 0x01;
    b.data.tuneValues()[2] ^= 0x10;
    storeInfoText(QStringLiteral("Fleet radio 12"), b.data);
    b.data.image[0x2C4] ^= 0xFF;

    SideOpener opener(ModelCatalog::read(ini, startup.modelCount), NumberFormat());
    const qsizetype expected = compareDataSets(a, b, opener, Scope::All).size();
    const double whole =
        rate(rounds, [&] { return compareDataSets(a, b, opener, Scope::All).size() == expected; });
    const ShownSide sideA = opener.open(a);
    const ShownSide sideB = opener.open(b);
    const double opened = rate(rounds, [&] { return compareSides(sideA, sideB, Scope::All).size() == expected; });

    std::printf("compare two data sets (%lld differences), each opened: %.0f ops/s, ratio to target %.0f/s: %.2f\n",
                static_cast<long long>(expected), whole, Target, whole / Target);
    std::printf("compare two opened sides: %.0f ops/s, ratio to target %.0f/s: %.2f\n", opened, Target,
                opened / Target);
    return whole > 0 && opened > 0 ? 0 : 1;
}
