#include "FleetCommand.h"

#include "CliFeedback.h"
#include "document/Document.h"
#include "fleet/FleetLog.h"
#include "fleet/FleetRunner.h"
#include "link/PortMap.h"
#include "sim/NumberedRadios.h"
#include "sim/VirtualRadio.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace orv::cli {

using namespace orv::fleet;

namespace {

// The most ports (or virtual radios) one run takes.
constexpr int MaxFleetPorts = 16;

const QStringList& ownOptions() {
    static const QStringList names{"backup", "info", "count", "next", "allow-other-model", "log", "demo-radios"};
    return names;
}

QString oneLine(const QString& text) { return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' ')); }

void printLine(std::FILE* to, const QString& line) {
    std::fprintf(to, "%s\n", line.toUtf8().constData());
    std::fflush(to);
}

QString radioLine(const RadioRecord& r) {
    const QString head = QStringLiteral("%1: radio %2 (ID %3): ").arg(r.port).arg(r.radio).arg(r.radioId);
    return head + (r.ok ? doneWords(r) : QStringLiteral("failed: ") + oneLine(r.message));
}

// A whole number from min to max, or nothing.
std::optional<int> wholeNumber(const QString& text, int min, int max) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v >= min && v <= max ? std::optional(v) : std::nullopt;
}

// Enter on standard input is Next for every port waiting for it; the end of the input is
// Stop (no radio can be confirmed any more). A thread reads the input into counters that live
// as long as the process (it may still be reading when the run is over); the run's thread
// looks at them every 100 ms.
std::atomic<int> entersRead{0};
std::atomic<bool> inputEnded{false};

void readNextFromInput(FleetRunner& runner) {
    std::thread([] {
        std::string line;
        while (std::getline(std::cin, line))
            ++entersRead;
        inputEnded = true;
    }).detach();
    auto* timer = new QTimer(&runner);
    QObject::connect(timer, &QTimer::timeout, &runner, [&runner, seen = 0]() mutable {
        for (const int enters = entersRead; seen < enters; ++seen)
            runner.next(-1);
        if (inputEnded)
            runner.stop();
    });
    timer->start(100);
}

#ifdef Q_OS_UNIX
// Ctrl+C during a run: the first is Stop (the radios under way are finished), the next Stop
// Now. The signal handler only writes a byte to a pipe; the run's thread reads it.
int interruptPipe[2] = {-1, -1};
extern "C" void onInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(interruptPipe[1], &byte, 1);
}

void stopOnInterrupt(FleetRunner& runner) {
    if (::pipe(interruptPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, &runner);
    QObject::connect(notifier, &QSocketNotifier::activated, &runner, [&runner] {
        char bytes[16];
        if (::read(interruptPipe[0], bytes, sizeof bytes) <= 0)
            return;
        if (runner.stopping()) {
            runner.stopNow();
            printLine(stderr, QStringLiteral("Stopping now."));
        } else {
            runner.stop();
            printLine(stderr, QStringLiteral("Stopping after the radios under way (Ctrl+C again: stop now)."));
        }
    });
    std::signal(SIGINT, onInterrupt);
}
#else
void stopOnInterrupt(FleetRunner&) {}
#endif

} // namespace

void addFleetOptions(QCommandLineParser& p) {
    p.addOption({QStringLiteral("backup"), QStringLiteral("fleet: read each radio in full and keep it as a backup "
                                                          "before writing it (no backup, no write).")});
    p.addOption({QStringLiteral("info"),
                 QStringLiteral("fleet: write this information text into each radio: {n} its number, {id} its "
                                "radio ID, {date} the date, {port} its port."),
                 QStringLiteral("TEMPLATE")});
    p.addOption({QStringLiteral("count"),
                 QStringLiteral("fleet: swap radios on the ports until N radios in all are programmed."),
                 QStringLiteral("N")});
    p.addOption({QStringLiteral("next"),
                 QStringLiteral("fleet --count: auto (default: the next radio is one whose radio ID was not "
                                "programmed yet) or prompt (press Enter when the next radios are connected)."),
                 QStringLiteral("MODE")});
    p.addOption({QStringLiteral("allow-other-model"),
                 QStringLiteral("fleet: write radios of another model than the file's too.")});
    p.addOption({QStringLiteral("log"), QStringLiteral("fleet: append one CSV row per radio to this file."),
                 QStringLiteral("CSV")});
    p.addOption({QStringLiteral("demo-radios"), QStringLiteral("fleet: program N virtual radios in the process."),
                 QStringLiteral("N")});
}

bool fleetOptionsSet(const QCommandLineParser& p) {
    for (const QString& name : ownOptions())
        if (p.isSet(name))
            return true;
    return false;
}

int cmdFleet(const QCommandLineParser& p, const Options& o, const QStringList& rest, int (*usage)(const QString&)) {
    const QStringList allowed = ownOptions() + QStringList{"catalog", "port", "trace", "verify"};
    for (const QString& name : p.optionNames())
        if (!allowed.contains(name))
            return usage(QStringLiteral("--%1 does not belong to 'fleet'").arg(name));
    if (rest.size() != 1)
        return usage(QStringLiteral("'fleet' takes one FILE"));
    const QStringList portNames = p.values(QStringLiteral("port"));
    const bool demo = p.isSet(QStringLiteral("demo-radios"));
    if (demo == !portNames.isEmpty())
        return usage(QStringLiteral("'fleet' needs --port PORT (once per port) or --demo-radios N"));
    std::optional<int> demoRadios;
    if (demo && !(demoRadios = wholeNumber(p.value(QStringLiteral("demo-radios")), 1, MaxFleetPorts)))
        return usage(QStringLiteral("--demo-radios takes a number from 1 to %1").arg(MaxFleetPorts));
    if (portNames.size() > MaxFleetPorts)
        return usage(QStringLiteral("'fleet' takes at most %1 ports").arg(MaxFleetPorts));

    FleetOptions options;
    options.backup = p.isSet(QStringLiteral("backup"));
    options.verify = p.isSet(QStringLiteral("verify"));
    options.allowOtherModel = p.isSet(QStringLiteral("allow-other-model"));
    if (p.isSet(QStringLiteral("info")))
        options.infoTemplate = p.value(QStringLiteral("info"));
    if (p.isSet(QStringLiteral("count"))) {
        const std::optional<int> count = wholeNumber(p.value(QStringLiteral("count")), 1, 1000000);
        if (!count)
            return usage(QStringLiteral("--count takes a number of radios, 1 or more"));
        options.count = *count;
    }
    if (p.isSet(QStringLiteral("next"))) {
        const QString next = p.value(QStringLiteral("next"));
        if (!options.swap())
            return usage(QStringLiteral("--next belongs to swapping radios: give --count N"));
        if (next != QLatin1String("auto") && next != QLatin1String("prompt"))
            return usage(QStringLiteral("--next is auto or prompt"));
        options.prompt = next == QLatin1String("prompt");
    }

    CliFeedback startFeedback;
    const std::unique_ptr<Document> session = openSession(o, rest[0], startFeedback);
    if (!session)
        return ExitFailed;
    const QString programIni = session->startup().productIniPath;

    std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
    std::vector<FleetPort> ports;
    for (int i = 1; demoRadios && i <= *demoRadios; ++i) {
        radios.push_back(std::make_unique<sim::VirtualRadio>(sim::numberedDemoMemory(i)));
        ports.push_back({sim::demoRadioLabel(i), radios.back().get()});
    }
    for (const QString& name : portNames)
        ports.push_back({name, nullptr});

    std::unique_ptr<FleetLogFile> log;
    if (p.isSet(QStringLiteral("log"))) {
        log = std::make_unique<FleetLogFile>(p.value(QStringLiteral("log")));
        if (!log->ok())
            return fail(QStringLiteral("The log file %1 cannot be written: %2").arg(p.value(QStringLiteral("log")), log->error()));
    }

    FleetSetup setup;
    setup.programIni = programIni;
    setup.history = HistoryRecorder::settingsFor(programIni);
    setup.tracePath = p.value(QStringLiteral("trace"));
    setup.systemDevices = systemSerialDevices();
    FleetRunner runner(payloadOf(*session, QFileInfo(rest[0]).fileName()), options);

    QSet<QString> warned;
    QObject::connect(&runner, &FleetRunner::warning, &runner, [&warned](const QString& text) {
        if (!warned.contains(text))
            printLine(stderr, text);
        warned.insert(text);
    });
    QSet<int> waiting; // the ports that said they wait for the next radio
    QObject::connect(&runner, &FleetRunner::portChanged, &runner, [&](const PortStatus& s) {
        if (s.awaitingNext && !s.finished && !waiting.contains(s.index))
            printLine(stderr, QStringLiteral("%1: %2%3").arg(s.port, s.message,
                                                             options.prompt ? QStringLiteral(", then press Enter")
                                                                            : QString()));
        if (s.awaitingNext)
            waiting.insert(s.index);
        else
            waiting.remove(s.index);
    });
    bool logFailed = false;
    QObject::connect(&runner, &FleetRunner::radioEnded, &runner, [&](const RadioRecord& r) {
        printLine(stdout, radioLine(r));
        if (log && !log->append(r) && !logFailed) {
            logFailed = true;
            printLine(stderr, QStringLiteral("Warning: the log %1 cannot be written: %2")
                                  .arg(p.value(QStringLiteral("log")), log->error()));
        }
    });
    QEventLoop loop;
    QObject::connect(&runner, &FleetRunner::finished, &loop, &QEventLoop::quit);
    if (!runner.start(ports, setup))
        return fail(runner.error());
    if (options.prompt)
        readNextFromInput(runner);
    stopOnInterrupt(runner);
    loop.exec();
#ifdef Q_OS_UNIX
    std::signal(SIGINT, SIG_DFL);
#endif

    const FleetTotals totals = runner.totals();
    printLine(stdout, QStringLiteral("Fleet: %1 programmed, %2 failed.").arg(totals.programmed).arg(totals.failed));
    return totals.failed > 0 ? ExitFailed : ExitOk;
}

} // namespace orv::cli
