// Programming a fleet over pseudo-terminals: orvante-cli fleet with backup, write and verify
// against orvante-radio-sim --radios 8, then the same steps for one radio alone. Prints the
// wall time of eight radios over the wall time of one (the ports work side by side; target
// <= 1.15) and orvante-cli's CPU time over its wall time (it sleeps while the wire is busy;
// target <= 0.05).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

#include <sys/resource.h>

namespace {

QString bin(const char* name) { return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/") + name; }

double childrenCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    bool ok = false;
};

// orvante-cli fleet on the first `ports` radios of a fresh simulator.
Figures fleet(int ports, const QString& file, const QString& dataDir) {
    QProcess sim;
    sim.start(bin("orvante-radio-sim"), {"--radios", QString::number(ports)});
    QStringList devices;
    while (devices.size() < ports && (sim.canReadLine() || sim.waitForReadyRead(5000)))
        devices << QString::fromLocal8Bit(sim.readLine()).trimmed();
    Figures f;
    if (devices.size() < ports) {
        std::fprintf(stderr, "bench_fleet: cannot start %s\n", qPrintable(bin("orvante-radio-sim")));
        return f;
    }
    QStringList args{"fleet", file, "--backup", "--verify"};
    for (const QString& d : devices)
        args << "--port" << d;
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORVANTE_DATA_DIR", dataDir); // the backups and history of the bench stay in its folder
    cli.setProcessEnvironment(env);
    const double cpu0 = childrenCpuMs();
    QElapsedTimer wall;
    wall.start();
    cli.start(bin("orvante-cli"), args);
    f.ok = cli.waitForFinished(120000) && cli.exitCode() == 0;
    f.wallMs = double(wall.nsecsElapsed()) / 1e6;
    f.cpuMs = childrenCpuMs() - cpu0;
    if (!f.ok)
        std::fprintf(stderr, "%s", cli.readAllStandardError().constData());
    sim.terminate();
    sim.waitForFinished(3000);
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QString file = QStringLiteral(ORVANTE_SOURCE_DIR "/data/samples/demo-radio.kvd");
    QTemporaryDir data;
    const Figures one = fleet(1, file, data.path());
    const Figures eight = fleet(8, file, data.path());
    std::printf("1 radio   wall %7.0f ms  cpu %6.1f ms\n", one.wallMs, one.cpuMs);
    std::printf("8 radios  wall %7.0f ms  cpu %6.1f ms\n", eight.wallMs, eight.cpuMs);
    std::printf("wall(8)/wall(1) %.3f (target <= 1.15)  cpu/wall(8) %.4f (target <= 0.05)%s\n",
                eight.wallMs / one.wallMs, eight.cpuMs / eight.wallMs, one.ok && eight.ok ? "" : "  RUN FAILED");
    return one.ok && eight.ok ? 0 : 1;
}
