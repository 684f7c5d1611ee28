// A full read and a full write over a pseudo-terminal against orvante-radio-sim, through the
// real serial port code, with the wire time modelled on the radio's side. Prints the wall
// time divided by the protocol's own floor (the same exchange on the virtual clock) and the
// process's CPU time divided by the wall time. Targets: at most 1.05 and at most 0.05.

#include "Feedback.h"
#include "link/Exchanges.h"
#include "link/QtSerialLink.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <ctime>

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

// The exchange on the virtual clock: its length is the protocol's floor.
double floorMs(bool write) {
    VirtualClock clock;
    sim::VirtualRadio radio;
    sim::MemoryLink wire(radio, clock);
    RadioLink link(wire, clock, QStringLiteral("sim"));
    SilentFeedback feedback;
    RadioData data;
    int version = 2;
    if (write)
        writeRadio(link, feedback, data, version, {7, QStringLiteral("bench")});
    else
        readRadio(link, feedback, data);
    return double(clock.nowMs());
}

Figures onDevice(const QString& device, bool write) {
    QtSerialLink serial(device);
    RadioLink link(serial, SystemClock::instance(), device);
    SilentFeedback feedback;
    RadioData data;
    int version = 2;
    QElapsedTimer wall;
    const double cpu0 = cpuNowMs();
    wall.start();
    Figures f;
    f.ok = write ? writeRadio(link, feedback, data, version, {7, QStringLiteral("bench")})
                 : bool(readRadio(link, feedback, data));
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
    for (bool write : {false, true}) {
        const double floor = floorMs(write);
        const Figures f = onDevice(device, write);
        const double wallRatio = f.wallMs / floor;
        const double cpuRatio = f.cpuMs / f.wallMs;
        std::printf("%-5s  wall %7.0f ms  floor %7.0f ms  wall/floor %.3f (target <= 1.05)  "
                    "cpu %5.1f ms  cpu/wall %.4f (target <= 0.05)%s\n",
                    write ? "write" : "read", f.wallMs, floor, wallRatio, f.cpuMs, cpuRatio,
                    f.ok ? "" : "  EXCHANGE FAILED");
        if (!f.ok)
            status = 1;
    }
    radio.terminate();
    radio.waitForFinished(3000);
    return status;
}
