// Comparing two data files: the demo radio's file against a copy that differs in a channel,
// a setting, a test channel, a tune value, the information text and a raw byte. Prints
// operations per second and the ratio to the target of 50,000 per second for the whole
// comparison of the two data sets (each opened as the window opens a file, then compared),
// and for the comparison of two sides already opened (what the window's scope switch costs).
// Both by elapsed time and by this thread's processor time: on a machine shared with other
// work the second is the one that says what the comparison costs.

#include "catalog/IniFile.h"
#include "catalog/StartupConfig.h"
#include "compare/Compare.h"
#include "files/DataFile.h"
#include "image/RadioInfoText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <ctime>
#include <functional>

using namespace orv;
using namespace orv::compare;

namespace {

constexpr double Target = 50000.0;

struct Rate {
    double wall = 0; // operations per second of elapsed time
    double cpu = 0;  // operations per second of this thread's processor time
};

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The rates of `op` over `rounds` runs; false from op stops the run (rates 0).
Rate rate(int rounds, const std::function<bool()>& op) {
    QElapsedTimer t;
    const double cpu0 = threadCpuSeconds();
    t.start();
    for (int i = 0; i < rounds; ++i)
        if (!op())
            return {};
    return {rounds / (double(t.nsecsElapsed()) / 1e9), rounds / (threadCpuSeconds() - cpu0)};
}

void print(const char* what, const Rate& r) {
    std::printf("%s: %.0f ops/s (%.0f ops per processor second), ratio to target %.0f/s: %.2f (processor %.2f)\n",
                what, r.wall, r.cpu, Target, r.wall / Target, r.cpu / Target);
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
    b.data.functionSettings()[7] = 0x15; // Tx TOT 150s
    b.data.testChannel(0)[1] ^= 0x01;
    b.data.tuneValues()[2] ^= 0x10;
    storeInfoText(QStringLiteral("Fleet radio 12"), b.data);
    b.data.image[0x2C4] ^= 0xFF;

    SideOpener opener(ModelCatalog::read(ini, startup.modelCount), NumberFormat());
    const qsizetype expected = compareDataSets(a, b, opener, Scope::All).size();
    const Rate whole = rate(rounds, [&] { return compareDataSets(a, b, opener, Scope::All).size() == expected; });
    const ShownSide sideA = opener.open(a);
    const ShownSide sideB = opener.open(b);
    const Rate opened = rate(rounds, [&] { return compareSides(sideA, sideB, Scope::All).size() == expected; });

    std::printf("%lld differences between the demo radio's file and its changed copy\n", static_cast<long long>(expected));
    print("compare two data sets, each opened", whole);
    print("compare two opened sides", opened);
    return whole.wall > 0 && opened.wall > 0 ? 0 : 1;
}
