// A full read, a full write and the verify after a write (timed alone) over a pseudo-terminal
// against orvante-radio-sim, through the real serial port code, with the wire time modelled on
// the radio's side. Prints the wall time divided by the protocol's own floor (the same
// exchange on the virtual clock) and the process's CPU time divided by the wall time.
// Targets: at most 1.05 and at most 0.05.

#include "Feedback.h"
#include "compare/CompareSide.h"
#include "exchange/ExchangeRunner.h"
#include "link/Exchanges.h"
#include "link/QtSerialLink.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <ctime>
#include <functional>

using namespace orv;

namespace {

struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    bool ok = false;
};

double cpuNowMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

enum class Kind { Read, Write, Verify };
const char* kindName(Kind k) { return k == Kind::Read ? "read" : k == Kind::Write ? "write" : "verify"; }

// Runs one exchange on `link`, calling `started` when the timed part begins: the verify is
// timed alone, after the write it checks. True when it succeeded.
bool exchange(Kind kind, RadioLink& link, const std::function<void()>& started) {
    SilentFeedback feedback;
    RadioData data;
    int version = 2;
    if (kind == Kind::Read) {
        started();
        return bool(readRadio(link, feedback, data));
    }
    const auto write = [&] { return writeRadio(link, feedback, data, version, {7, QStringLiteral("bench")}); };
    if (kind == Kind::Write) {
        started();
        return write();
    }
    if (!write())
        return false;
    ExchangeRunner runner(link, feedback);
    compare::SideOpener opener{ModelCatalog(), NumberFormat()};
    started();
    return runner.verify(data, version, opener, nullptr).ok();
}

// The exchange on the virtual clock: its length is the protocol's floor.
double floorMs(Kind kind) {
    VirtualClock clock;
    sim::VirtualRadio radio;
    sim::MemoryLink wire(radio, clock);
    RadioLink link(wire, clock, QStringLiteral("sim"));
    std::int64_t start = 0;
    exchange(kind, link, [&] { start = clock.nowMs(); });
    return double(clock.nowMs() - start);
}

Figures onDevice(const QString& device, Kind kind) {
    QtSerialLink serial(device);
    RadioLink link(serial, SystemClock::instance(), device);
    QElapsedTimer wall;
    double cpu0 = 0;
    Figures f;
    f.ok = exchange(kind, link, [&] {
        cpu0 = cpuNowMs();
        wall.start();
    });
    f.wallMs = double(wall.nsecsElapsed()) / 1e6;
    f.cpuMs = cpuNowMs() - cpu0;
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString sim = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/orvante-radio-sim");
    QProcess radio;
    radio.start(sim, {});
    if (!radio.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_link: cannot start %s\n", qPrintable(sim));
        return 1;
    }
    const QString device = QString::fromLocal8Bit(radio.readLine()).trimmed();

    int status = 0;
    for (Kind kind : {Kind::Read, Kind::Write, Kind::Verify}) {
        const double floor = floorMs(kind);
        const Figures f = onDevice(device, kind);
        const double wallRatio = f.wallMs / floor;
        const double cpuRatio = f.cpuMs / f.wallMs;
        std::printf("%-6s  wall %7.0f ms  floor %7.0f ms  wall/floor %.3f (target <= 1.05)  "
                    "cpu %5.1f ms  cpu/wall %.4f (target <= 0.05)%s\n",
                    kindName(kind), f.wallMs, floor, wallRatio, f.cpuMs, cpuRatio,
                    f.ok ? "" : "  EXCHANGE FAILED");
        if (!f.ok)
            status = 1;
    }
    radio.terminate();
    radio.waitForFinished(3000);
    return status;
}
