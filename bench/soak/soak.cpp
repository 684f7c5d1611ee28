// The soak run: many exchanges (reads, writes, information reads and writes) with
// orvante-radio-sim on a pseudo-terminal through the real serial link, one in three with a
// fault drawn at random from a seeded generator: silence, a refused block, a short reply or a
// cut line. Not a test: it takes about an hour for the default 1000 exchanges.
//
//   bench_soak [--count N] [--seed S] [--warm-up W]
//
// The simulator is started for each exchange with the radio's memory as the last one left it
// and saves its memory when it is stopped, so that after every exchange the program's result
// is checked against the radio's real memory:
//  - a successful read equals the radio's memory (a block the radio refused keeps the
//    caller's bytes, as it must), and so does the information area after an information read;
//  - a failed read leaves the caller's data and the output untouched;
//  - a write that succeeded left exactly its blocks in the radio; one that failed left each
//    block either as it was or as sent, changed nothing else in the radio, and nothing in the
//    caller's data but the date stamp and the model byte the radio reported.
// A cut line is the simulator stopped in the middle of the exchange: its pseudo-terminal
// closes under the program, as a cable pulled out of the radio does.
// After the warm-up and at the end it prints the process's open descriptors and resident
// memory, and their ratio (expected: the same descriptors, memory at most 1.05).

#include "SimProcess.h"

#include "exchange/ExchangeRunner.h"
#include "files/DataFile.h"
#include "image/RadioInfoText.h"
#include "link/QtSerialLink.h"
#include "sim/VirtualRadio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <unistd.h>

using namespace orv;
using orv::bench::SimProcess;

namespace {

enum class Kind { Read, Write, InfoRead, InfoWrite };
enum class Fault { None, Silence, Refused, Short, Cut };

const char* kindName(Kind k) {
    static const char* names[] = {"read", "write", "info-read", "info-write"};
    return names[int(k)];
}
const char* faultName(Fault f) {
    static const char* names[] = {"none", "silence", "refused block", "short reply", "cut line"};
    return names[int(f)];
}

struct Usage {
    int descriptors = 0;
    long residentKb = 0;
};

Usage usageNow() {
    Usage u;
    u.descriptors = int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    u.residentKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
    return u;
}

// The blocks an exchange writes, as addresses.
QList<int> writtenBlocks(Kind kind) {
    QList<int> out;
    if (kind == Kind::Write)
        for (int b : writeBlockOrder())
            out << b * addr::BlockSize;
    if (kind == Kind::InfoWrite)
        for (int i = 0; i < 24; ++i)
            out << addr::InfoText + addr::BlockSize * i;
    return out;
}

// The blocks an exchange reads, as addresses, and the bytes of them it keeps.
QList<int> readBlocks(Kind kind) {
    QList<int> out;
    const int first = kind == Kind::Read ? 0 : addr::InfoText;
    const int count = kind == Kind::Read ? addr::ImageSize / addr::BlockSize : 30;
    for (int i = 0; i < count; ++i)
        out << first + addr::BlockSize * i;
    return out;
}
bool infoReadKeeps(int address) { return address < 0x3D0 || address >= 0x3E0; }

bool sameBlock(const RadioData& a, const RadioData& b, int address) {
    return std::equal(a.image.begin() + address, a.image.begin() + address + addr::BlockSize, b.image.begin() + address);
}

class Soak {
public:
    Soak(QString simulator, std::uint32_t seed) : m_simulator(std::move(simulator)), m_random(seed) {}

    bool prepare(QString* error);
    // One exchange; false (and the reason printed) when a check failed.
    bool exchange(int n);
    void printSummary() const;

private:
    int draw(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(m_random)); }
    QStringList faultArguments(Kind kind, Fault fault, int* refusedBlock);
    void changeCallerData(Kind kind);
    bool checkRead(Kind kind, bool ok, const RadioData& radio, int refused, const RadioData& out,
                   const RadioData& outBefore, QString* why) const;
    bool checkWrite(Kind kind, bool ok, const RadioData& before, const RadioData& after,
                    const RadioData& heldBefore, QString* why) const;

    QString m_simulator;
    std::mt19937 m_random;
    QTemporaryDir m_dir;
    QString m_memoryFile;
    RadioData m_held; // the caller's data, as the window holds them
    std::map<Kind, double> m_typicalMs{{Kind::Read, 7500}, {Kind::Write, 3500}, {Kind::InfoRead, 2000}, {Kind::InfoWrite, 2000}};
    std::map<QString, int> m_outcomes;
};

bool Soak::prepare(QString* error) {
    m_memoryFile = m_dir.filePath(QStringLiteral("radio.kvd"));
    if (!m_dir.isValid() || writeDataFile(m_memoryFile, sim::demoRadioImage()) != SaveStatus::Ok) {
        *error = QStringLiteral("cannot write the radio's memory into a scratch folder");
        return false;
    }
    m_held = sim::defaultRadioMemory();
    return true;
}

QStringList Soak::faultArguments(Kind kind, Fault fault, int* refusedBlock) {
    *refusedBlock = -1;
    const bool writing = kind == Kind::Write || kind == Kind::InfoWrite;
    switch (fault) {
    case Fault::None:
    case Fault::Cut:
        return {};
    case Fault::Silence:
        return {QStringLiteral("--fault"), QStringLiteral("silent")};
    case Fault::Refused: {
        // A write block answered 0x15; a read block answered with something that is no block.
        const QList<int> blocks = writing ? writtenBlocks(kind) : readBlocks(kind);
        *refusedBlock = blocks[draw(int(blocks.size()))];
        return {QStringLiteral("--fault"), QStringLiteral("%1:%2").arg(writing ? "nak-at-block" : "bad-header-at-block")
                                               .arg(*refusedBlock / addr::BlockSize)};
    }
    case Fault::Short:
        // A read block cut to 6 bytes; for a write, the identity reply cut to 6 bytes.
        if (writing)
            return {QStringLiteral("--identity"), QStringLiteral("RZ4")};
        return {QStringLiteral("--fault"),
                QStringLiteral("short-reply-at-block:%1").arg(readBlocks(kind)[draw(int(readBlocks(kind).size()))] / addr::BlockSize)};
    }
    return {};
}

// What the user changed before a write: a channel record and the information text.
void Soak::changeCallerData(Kind kind) {
    if (kind == Kind::Write) {
        const Record r = m_held.channel(draw(addr::ChannelCount));
        for (auto& b : r)
            b = std::uint8_t(draw(256));
    }
    if (kind == Kind::Write || kind == Kind::InfoWrite)
        storeInfoText(QStringLiteral("Soak %1 %2").arg(draw(1000000)).arg(QString(QChar(u'A' + draw(26))).repeated(draw(80))),
                      m_held);
}

bool Soak::checkRead(Kind kind, bool ok, const RadioData& radio, int refused, const RadioData& out,
                     const RadioData& outBefore, QString* why) const {
    if (!ok) {
        if (!(out == outBefore))
            *why = QStringLiteral("a failed read changed the output");
        return out == outBefore;
    }
    RadioData expected = m_held;
    for (int a : readBlocks(kind)) {
        if (a == refused) // the radio's answer was no block: the caller's bytes stay
            continue;
        for (int k = 0; k < addr::BlockSize; ++k)
            if (kind == Kind::Read || infoReadKeeps(a + k))
                expected.image[std::size_t(a + k)] = radio.image[std::size_t(a + k)];
    }
    if (kind == Kind::Read) // the model byte also comes with the radio's identity
        expected.modelBlock()[0] = radio.modelBlock()[0];
    if (!(out == expected))
        *why = QStringLiteral("the data read differ from the radio's memory");
    return out == expected;
}

bool Soak::checkWrite(Kind kind, bool ok, const RadioData& before, const RadioData& after, const RadioData& heldBefore,
                      QString* why) const {
    // What the radio holds after taking every block.
    RadioData sent = before;
    for (int a : writtenBlocks(kind))
        std::copy_n(m_held.image.begin() + a, addr::BlockSize, sent.image.begin() + a);
    if (kind == Kind::Write)
        sent.modelBlock()[1] = sent.modelBlock()[9] = 2; // the data version the radio reported
    if (ok && !(after.image == sent.image)) {
        *why = QStringLiteral("the radio does not hold what was written");
        return false;
    }
    for (int a = 0; a < addr::ImageSize; a += addr::BlockSize)
        if (!sameBlock(after, before, a) && !sameBlock(after, sent, a)) {
            *why = QStringLiteral("block 0x%1 in the radio is neither as it was nor as sent").arg(a, 3, 16, QLatin1Char('0'));
            return false;
        }
    RadioData unstamped = m_held;
    std::copy(heldBefore.dateStamp().begin(), heldBefore.dateStamp().end(), unstamped.dateStamp().begin());
    unstamped.modelBlock()[0] = heldBefore.modelBlock()[0];
    if (!(unstamped == heldBefore)) {
        *why = QStringLiteral("the write changed the caller's data beyond the stamp and model byte");
        return false;
    }
    return true;
}

bool Soak::exchange(int n) {
    const Kind kind = std::array{Kind::Read, Kind::Read, Kind::Write, Kind::Write, Kind::InfoRead, Kind::InfoRead,
                                 Kind::InfoRead, Kind::InfoWrite, Kind::InfoWrite, Kind::InfoWrite}[std::size_t(draw(10))];
    const Fault fault = draw(3) == 0 ? Fault(1 + draw(4)) : Fault::None;
    int refused = -1;
    const QString savedFile = m_dir.filePath(QStringLiteral("saved.kvd"));
    QStringList args{QStringLiteral("--image"), m_memoryFile, QStringLiteral("--save-on-exit"), savedFile};
    args += faultArguments(kind, fault, &refused);
    const RadioData radioBefore = readDataFile(m_memoryFile, RadioData{}).data;
    changeCallerData(kind);
    const RadioData heldBefore = m_held;

    SimProcess sim(m_simulator);
    QString error;
    if (!sim.start(args, &error)) {
        std::fprintf(stderr, "exchange %d: %s\n", n, qPrintable(error));
        return false;
    }
    QTimer cut;
    cut.setSingleShot(true);
    QObject::connect(&cut, &QTimer::timeout, [&sim] { sim.stop(); });
    if (fault == Fault::Cut)
        cut.start(50 + draw(int(m_typicalMs[kind])));

    QtSerialLink serial(sim.device());
    RadioLink link(serial, SystemClock::instance(), sim.device());
    SilentFeedback feedback(Answer::No); // a question would stop the write
    ExchangeRunner runner(link, feedback);
    ReadResult readOut{sim::defaultRadioMemory(), -1};
    RadioData infoOut = sim::defaultRadioMemory();
    readOut.data.image.fill(0xA5);
    infoOut.image.fill(0x5A);
    const ReadResult readOutBefore = readOut;
    const RadioData infoOutBefore = infoOut;
    int dataVersion = 2;

    QElapsedTimer took;
    took.start();
    ExchangeResult result;
    switch (kind) {
    case Kind::Read: result = runner.read(m_held, &readOut); break;
    case Kind::Write: result = runner.write(m_held, dataVersion, {7, QStringLiteral("Soak")}); break;
    case Kind::InfoRead: result = runner.readInfo(m_held, &infoOut); break;
    case Kind::InfoWrite: result = runner.writeInfo(m_held); break;
    }
    const double ms = double(took.elapsed());
    cut.stop();
    sim.stop();
    const LoadOutcome saved = readDataFile(savedFile, RadioData{});
    if (saved.status != LoadStatus::Ok) {
        std::fprintf(stderr, "exchange %d: the simulator saved no memory\n", n);
        return false;
    }
    const RadioData& radioAfter = saved.data;

    QString why;
    bool good = true;
    if (kind == Kind::Read || kind == Kind::InfoRead) {
        good = radioAfter.image == radioBefore.image && m_held == heldBefore;
        if (!good)
            why = QStringLiteral("a read changed the radio or the caller's data");
        const RadioData& out = kind == Kind::Read ? readOut.data : infoOut;
        const RadioData& outBefore = kind == Kind::Read ? readOutBefore.data : infoOutBefore;
        good = good && checkRead(kind, result.ok(), radioAfter, refused, out, outBefore, &why);
        if (result.ok()) // the window takes what was read
            m_held = out;
    } else {
        good = checkWrite(kind, result.ok(), radioBefore, radioAfter, heldBefore, &why);
    }
    if (fault == Fault::None && !result.ok()) {
        good = false;
        why = QStringLiteral("an exchange without a fault failed: %1").arg(result.message);
    }
    if (fault == Fault::None && result.ok())
        m_typicalMs[kind] = std::max(m_typicalMs[kind], ms);
    QFile::remove(m_memoryFile);
    QFile::rename(savedFile, m_memoryFile);

    const QString outcome = QStringLiteral("%1, %2: %3").arg(QLatin1String(kindName(kind)), QLatin1String(faultName(fault)),
                                                           result.ok() ? QStringLiteral("ok") : linkFailureName(result.reason));
    ++m_outcomes[outcome];
    if (!good)
        std::fprintf(stderr, "exchange %d (%s): %s\n", n, qPrintable(outcome), qPrintable(why));
    return good;
}

void Soak::printSummary() const {
    std::printf("outcomes (exchange, fault: result):\n");
    for (const auto& [text, count] : m_outcomes)
        std::printf("  %5d  %s\n", count, qPrintable(text));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.addOptions({{QStringLiteral("count"), QStringLiteral("Exchanges (default 1000)."), QStringLiteral("N"), QStringLiteral("1000")},
                  {QStringLiteral("seed"), QStringLiteral("Seed of the draws (default 1)."), QStringLiteral("S"), QStringLiteral("1")},
                  {QStringLiteral("warm-up"), QStringLiteral("Exchanges before the first figures (default 50)."),
                   QStringLiteral("W"), QStringLiteral("50")}});
    p.process(app);
    const int count = p.value(QStringLiteral("count")).toInt();
    const int warmUp = std::min(p.value(QStringLiteral("warm-up")).toInt(), count);
    Soak soak(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/orvante-radio-sim"),
              p.value(QStringLiteral("seed")).toUInt());
    QString error;
    if (!soak.prepare(&error)) {
        std::fprintf(stderr, "bench_soak: %s\n", qPrintable(error));
        return 1;
    }

    QElapsedTimer wall;
    wall.start();
    int failedChecks = 0;
    Usage first = usageNow();
    std::printf("start: %d descriptors, %ld kB resident\n", first.descriptors, first.residentKb);
    for (int n = 1; n <= count; ++n) {
        if (!soak.exchange(n))
            ++failedChecks;
        if (n == warmUp) {
            first = usageNow();
            std::printf("after %d exchanges (warm-up): %d descriptors, %ld kB resident\n", n, first.descriptors,
                        first.residentKb);
        }
        if (n % 50 == 0) {
            std::printf("%d exchanges, %.0f s, %d failed checks\n", n, double(wall.elapsed()) / 1000, failedChecks);
            std::fflush(stdout);
        }
    }
    const Usage last = usageNow();
    soak.printSummary();
    std::printf("after %d exchanges: %d descriptors, %ld kB resident\n", count, last.descriptors, last.residentKb);
    std::printf("descriptors last/first %d/%d (target: equal)  resident memory last/first %.3f (target <= 1.05)\n",
                last.descriptors, first.descriptors, double(last.residentKb) / double(std::max(1L, first.residentKb)));
    std::printf("%d exchanges in %.0f s, %d failed checks\n", count, double(wall.elapsed()) / 1000, failedChecks);
    const bool grew = last.descriptors != first.descriptors || double(last.residentKb) > 1.05 * double(first.residentKb);
    return failedChecks == 0 && !grew ? 0 : 1;
}
