// The fleet runner against virtual radios, each port on its own thread and its own virtual
// clock: the steps of each radio and their numbering, the model and data-version checks, no
// write without a backup, the verify, the information text, one port failing beside others,
// the same device twice, swapping radios (by radio ID and by prompt), Stop and Stop Now, the
// log and the history. Also the radio ID read on its own.

#include "common/RadioBench.h"
#include "common/TestSetup.h"
#include "exchange/ExchangeRunner.h"
#include "fleet/FleetLog.h"
#include "fleet/FleetRunner.h"
#include "fleet/FleetShared.h"
#include "fleet/InfoTemplate.h"
#include "fleet/NumberedPath.h"
#include "fleet/RadioSteps.h"
#include "history/HistoryDatabase.h"
#include "image/RadioInfoText.h"
#include "sim/NumberedRadios.h"
#include "sim/VirtualRadio.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

using namespace orv;
using namespace orv::fleet;

namespace {

// A virtual clock that lets a test act on the port's own thread after each wait: swap the
// radio on the cable, press Stop.
struct HookedClock : VirtualClock {
    std::function<void(HookedClock&)> hook;
    void delayMs(int ms) override {
        VirtualClock::delayMs(ms);
        if (hook)
            hook(*this);
    }
};

RadioData radioMemory(int i) { return sim::withRadioId(sim::defaultRadioMemory(), sim::numberedRadioId(i)); }

// A run on `n` virtual radios ("Radio 1".."Radio n"), each port on a virtual clock.
struct Fleet {
    QTemporaryDir data;
    test::StartedDocument started;
    FleetPayload payload;
    std::vector<std::unique_ptr<sim::VirtualRadio>> radios;
    std::vector<FleetPort> ports;
    FleetSetup setup;
    std::unique_ptr<FleetRunner> runner;
    QList<PortStatus> statuses;
    // Called on port i's thread after each of its waits.
    std::function<void(int port, HookedClock&)> hook;

    explicit Fleet(int n, FleetOptions options = {}) {
        started.doc().setChannelCell(2, ColRxFreq, QStringLiteral("150.00000"));
        payload = payloadOf(started.doc(), QStringLiteral("plan.kvd"));
        for (int i = 1; i <= n; ++i) {
            radios.push_back(std::make_unique<sim::VirtualRadio>(radioMemory(i)));
            ports.push_back({QStringLiteral("Radio %1").arg(i), radios.back().get()});
        }
        setup.history = {data.path(), true, HistoryDatabase::DefaultBusyTimeoutMs};
        setup.makeClock = [this](int index) {
            auto clock = std::make_unique<HookedClock>();
            clock->hook = [this, index](HookedClock& c) {
                if (hook)
                    hook(index, c);
            };
            return clock;
        };
        runner = std::make_unique<FleetRunner>(payload, options);
        QObject::connect(runner.get(), &FleetRunner::portChanged, runner.get(),
                         [this](const PortStatus& s) { statuses << s; });
        QObject::connect(runner.get(), &FleetRunner::warning, runner.get(),
                         [](const QString& text) { qWarning("%s", qPrintable(text)); });
    }
    sim::VirtualRadio& radio(int i) { return *radios[size_t(i)]; }
    void setFaults(int i, const QStringList& faults) {
        sim::RadioFaults f;
        for (const QString& text : faults)
            QVERIFY(sim::RadioFaults::parse(text, f));
        radio(i).setFaults(f);
    }
    // Starts the run and waits for its end.
    bool run() {
        QSignalSpy finished(runner.get(), &FleetRunner::finished);
        if (!runner->start(ports, setup)) {
            qWarning("%s", qPrintable(runner->error()));
            return false;
        }
        return finished.wait(30000);
    }
    const std::vector<RadioRecord>& records() const { return runner->records(); }
    const RadioRecord* recordOf(const QString& port) const {
        for (const RadioRecord& r : records())
            if (r.port == port)
                return &r;
        return nullptr;
    }
    std::vector<HistoryEvent> events() {
        HistoryDatabase db(data.filePath(QLatin1String(HistoryFileName)));
        if (!db.open())
            return {};
        auto all = db.events().value_or(std::vector<HistoryEvent>{});
        std::reverse(all.begin(), all.end()); // oldest first
        return all;
    }
    // The operations the history holds for one port, in order.
    QStringList operations(const QString& port) {
        QStringList out;
        for (const HistoryEvent& e : events())
            if (e.port == port)
                out << QStringLiteral("%1 %2 %3").arg(e.operation, e.result, e.radioId);
        return out;
    }
    // The channels the radio holds are the plan's.
    bool holdsPlan(int i) {
        for (int c = 0; c < addr::ChannelCount; ++c)
            if (!std::ranges::equal(radio(i).memory().channel(c), payload.data.channel(c)))
                return false;
        return true;
    }
};

QString infoOf(const sim::VirtualRadio& radio) {
    QString text = infoTextFromImage(radio.memory());
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

} // namespace

class TestFleet : public QObject {
    Q_OBJECT
private slots:
    // Each port: the radio ID read, the backup, the write, the verify, the information text,
    // one history event per exchange (the radio ID read is not one) and one record; port i
    // programs radio i.
    void eachRadioGoesThroughItsSteps() {
        FleetOptions options;
        options.backup = options.verify = true;
        options.infoTemplate = QStringLiteral("Site A radio {n} ({id}) on {port}, {date}");
        Fleet f(3, options);
        QVERIFY(f.run());
        QCOMPARE(int(f.records().size()), 3);
        for (int i = 0; i < 3; ++i) {
            const QString port = QStringLiteral("Radio %1").arg(i + 1);
            const QString id = QStringLiteral("SIM000%1").arg(i + 1);
            const RadioRecord* r = f.recordOf(port);
            QVERIFY(r);
            QCOMPARE(r->radio, i + 1);
            QCOMPARE(r->radioId, id);
            QCOMPARE(r->modelValue, 7);
            QVERIFY(r->ok && r->backedUp && r->written && r->verified && r->infoWritten);
            QCOMPARE(r->message, QStringLiteral("programmed, backed up, verified, information written"));
            QVERIFY(QFile::exists(r->backup));
            QVERIFY(f.holdsPlan(i));
            QCOMPARE(infoOf(f.radio(i)), QStringLiteral("Site A radio %1 (%2) on %3, 2005-04-29").arg(i + 1).arg(id, port));
            QCOMPARE(dateStampText(f.radio(i).memory()).left(10), QStringLiteral("2005-04-29"));
            const sim::RadioLog& log = f.radio(i).log();
            QCOMPARE(log.handshakes, 5); // radio ID, backup, write, verify, information
            QCOMPARE(log.blocksRead.mid(0, 2), (QList<int>{0x3E0 / 8, 0x3E8 / 8}));
            QCOMPARE(log.blocksRead.size(), 2 + 128 + WriteBlockCount);
            QCOMPARE(log.blocksWritten.size(), WriteBlockCount + 24);
            QCOMPARE(f.operations(port), (QStringList{"read ok " + id, "write ok " + id, "verify ok " + id,
                                                      "info-write ok " + id}));
        }
        // The backup holds what the radio held before.
        const LoadOutcome backup = readDataFile(f.recordOf(QStringLiteral("Radio 2"))->backup, RadioData{});
        QCOMPARE(backup.data.image, radioMemory(2).image);
        // The rows went through the states in order and ended done.
        QList<PortState> states;
        for (const PortStatus& s : f.statuses)
            if (s.index == 0 && (states.isEmpty() || states.last() != s.state))
                states << s.state;
        QCOMPARE(states, (QList<PortState>{PortState::Waiting, PortState::Identifying, PortState::BackingUp,
                                           PortState::Writing, PortState::Verifying, PortState::WritingInfo,
                                           PortState::Done}));
        for (int i = 0; i < 3; ++i) {
            const auto last = std::find_if(f.statuses.rbegin(), f.statuses.rend(),
                                           [i](const PortStatus& s) { return s.index == i; });
            QVERIFY(last->finished && last->state == PortState::Done && last->radio == i + 1);
        }
        QCOMPARE(f.runner->totals().programmed, 3);
    }

    // Another model fails the radio before anything is written, unless the run allows it; a
    // radio of data version 3 always fails.
    void modelAndDataVersionChecks() {
        Fleet f(3);
        f.radio(0).setModelCode(9);
        f.radio(2).setDataVersion(3);
        QVERIFY(f.run());
        QCOMPARE(f.recordOf("Radio 1")->message, otherModelText());
        QCOMPARE(f.recordOf("Radio 1")->modelValue, 9);
        QCOMPARE(f.recordOf("Radio 3")->message, newerRadioText());
        QVERIFY(f.radio(0).log().blocksWritten.isEmpty());
        QVERIFY(f.radio(2).log().blocksWritten.isEmpty());
        QVERIFY(f.recordOf("Radio 2")->ok);
        QCOMPARE(f.runner->totals().failed, 2);

        FleetOptions allow;
        allow.allowOtherModel = true;
        Fleet g(1, allow);
        g.radio(0).setModelCode(9);
        QVERIFY(g.run());
        QVERIFY(g.recordOf("Radio 1")->ok);
        QVERIFY(g.holdsPlan(0));
    }

    // No complete backup, no write: a read cut short, a backup that cannot be kept.
    void noWriteWithoutBackup() {
        FleetOptions options;
        options.backup = true;
        Fleet f(2, options);
        f.setFaults(0, {"stop-after-block:40"});
        QVERIFY(f.run());
        const RadioRecord* cut = f.recordOf("Radio 1");
        QVERIFY(!cut->ok && !cut->backedUp && !cut->written);
        QCOMPARE(cut->message, QStringLiteral("Reading data interrupted. Please read again!"));
        QVERIFY(f.radio(0).log().blocksWritten.isEmpty());
        QVERIFY(f.recordOf("Radio 2")->ok);

        Fleet g(1, options);
        QFile blocker(g.data.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        g.setup.history.dataFolder = blocker.fileName(); // a file: no backup can go under it
        QVERIFY(g.run());
        const RadioRecord* r = g.recordOf("Radio 1");
        QVERIFY(!r->ok && !r->backedUp && !r->written);
        QVERIFY2(r->message.startsWith("No backup of the radio could be kept, so it was not written. Warning: "),
                 qPrintable(r->message));
        QVERIFY(g.radio(0).log().blocksWritten.isEmpty());
    }

    // A radio that acknowledges a block but keeps its old bytes is caught by the verify.
    void verifyCatchesKeptBytes() {
        FleetOptions options;
        options.verify = true;
        options.infoTemplate = QStringLiteral("never");
        Fleet f(1, options);
        f.setFaults(0, {"keep-old-at-block:2"}); // CH 2, which the plan changes
        QVERIFY(f.run());
        const RadioRecord* r = f.recordOf("Radio 1");
        QVERIFY(r->written && !r->verified && !r->infoWritten && !r->ok);
        QVERIFY2(r->message.startsWith("Verify failed: "), qPrintable(r->message));
        QCOMPARE(f.operations("Radio 1").last(), QStringLiteral("verify failed SIM0001"));
        QVERIFY(infoOf(f.radio(0)) != QStringLiteral("never"));
    }

    void infoTemplateExpansion() {
        const InfoFields fields{12, QStringLiteral(" SIM0012        "), QDate(2025, 3, 1), QStringLiteral("COM3")};
        QCOMPARE(portStateText(PortState::Writing, 45), QStringLiteral("writing 45 %"));
        QCOMPARE(expandInfoTemplate("{n}/{id}/{date}/{port}", fields), QStringLiteral("12/SIM0012/2025-03-01/COM3"));
        // Unknown fields and lone braces stay; a value is never read as a field.
        QCOMPARE(expandInfoTemplate("{x} {n {N} {n}{n}", fields), QStringLiteral("{x} {n {N} 1212"));
        const InfoFields tricky{1, QStringLiteral("{n}"), QDate(2025, 3, 1), QStringLiteral("{id}")};
        QCOMPARE(expandInfoTemplate("{id}{port}", tricky), QStringLiteral("{n}{id}"));
        // Cut to the 96 characters the radio keeps, after the fields are in.
        const QString longText = expandInfoTemplate(QString(90, QLatin1Char('a')) + "{date}", fields);
        QCOMPARE(longText.size(), 96);
        QCOMPARE(longText.right(6), QStringLiteral("2025-0"));
        QCOMPARE(expandInfoTemplate("", fields), QString());
    }

    // A silent radio, a refused block and a pulled cable each fail their own port only.
    void onePortFailingLeavesTheOthers() {
        Fleet f(4);
        f.setFaults(1, {"silent"});
        f.setFaults(2, {"nak-at-block:5"});
        f.hook = [&f](int port, HookedClock&) {
            if (port == 3 && f.radio(3).log().blocksWritten.size() == 10)
                f.radio(3).lineLost(), f.setFaults(3, {"silent"});
        };
        QVERIFY(f.run());
        QVERIFY(f.recordOf("Radio 1")->ok);
        QVERIFY(f.holdsPlan(0));
        QCOMPARE(f.recordOf("Radio 2")->message,
                 QStringLiteral("Radio 2 port don't respond, please check your connection!"));
        QCOMPARE(f.recordOf("Radio 2")->radio, 2);
        QCOMPARE(f.recordOf("Radio 3")->message, QStringLiteral("Writing data interrupted. Please write again!"));
        QVERIFY(!f.recordOf("Radio 4")->ok);
        QCOMPARE(f.runner->totals().programmed, 1);
        QCOMPARE(f.runner->totals().failed, 3);
    }

    // The same device named twice - directly, or once through a COM number - is refused
    // before anything starts.
    void sameDeviceTwiceIsRefused() {
        QTemporaryDir dir;
        const QString device = dir.filePath("ttyFAKE0");
        QFile(device).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(device, dir.filePath("by-id-radio")));
        const QString ini = dir.filePath("ORVANTE.ini");
        QFile iniFile(ini);
        QVERIFY(iniFile.open(QIODevice::WriteOnly));
        iniFile.write(QStringLiteral("[Comm Port]\nCOM3=%1\n").arg(device).toUtf8());
        iniFile.close();
        const QStringList system{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")};
        const auto check = [&](const QStringList& names) {
            std::vector<FleetPort> ports;
            for (const QString& n : names)
                ports.push_back({n, nullptr});
            return sameDeviceTwice(ports, ini, system);
        };
        QCOMPARE(check({"COM3", device}), QStringLiteral("COM3 and %1 are the same device, %1.").arg(device));
        QCOMPARE(check({dir.filePath("by-id-radio"), "COM1", device}),
                 QStringLiteral("%1 and %2 are the same device, %2.").arg(dir.filePath("by-id-radio"), device));
        QCOMPARE(check({"COM2", "/dev/ttyS1"}), QStringLiteral("COM2 and /dev/ttyS1 are the same device, /dev/ttyS1."));
        QCOMPARE(check({"COM1", "COM1"}), QStringLiteral("The port COM1 is named twice."));
        QCOMPARE(check({"COM1", "COM2", "COM9", "COM10"}), QString()); // nothing behind 9 and 10

        Fleet f(1);
        f.setup.programIni = ini;
        f.ports = {{QStringLiteral("COM3"), nullptr}, {device, nullptr}};
        QVERIFY(!f.runner->start(f.ports, f.setup));
        QCOMPARE(f.runner->error(), QStringLiteral("COM3 and %1 are the same device, %1.").arg(device));
        QVERIFY(!f.runner->running());
    }

    // Swap by radio ID: one port polls every 2 s for the next radio, programs each radio ID
    // once, waits while the radio just programmed (or one programmed before) stays on the
    // cable, and ends with the count.
    void swapByRadioId() {
        FleetOptions options;
        options.count = 3;
        Fleet f(1, options);
        const QList<RadioData> onTheCable{radioMemory(1), radioMemory(2), radioMemory(1), radioMemory(3)};
        QList<std::int64_t> handshakes; // the times of the radio's opening codes, seen on the port's clock
        int shown = 0;
        f.hook = [&](int, HookedClock& clock) {
            const int slot = int(clock.nowMs() / 30000);
            if (slot != shown && slot < onTheCable.size())
                f.radio(0).setMemory(onTheCable[shown = slot]);
            while (handshakes.size() < f.radio(0).log().handshakes)
                handshakes << clock.nowMs();
        };
        QVERIFY(f.run());
        QCOMPARE(int(f.records().size()), 3);
        QStringList ids;
        for (const RadioRecord& r : f.records())
            ids << QStringLiteral("%1 %2").arg(r.radio).arg(r.radioId);
        QCOMPARE(ids, (QStringList{"1 SIM0001", "2 SIM0002", "3 SIM0003"}));
        QVERIFY(std::ranges::all_of(f.records(), [](const RadioRecord& r) { return r.ok; }));
        QCOMPARE(f.radio(0).log().blocksWritten.size(), 3 * WriteBlockCount);
        // While it waits, the port asks every 2 s (the radio ID read itself takes a little more).
        QVERIFY(handshakes.size() > 20);
        for (int i = 5; i < 10; ++i)
            QVERIFY2(handshakes[i] - handshakes[i - 1] >= NextRadioPollMs, qPrintable(QString::number(i)));
        QVERIFY(std::ranges::any_of(f.statuses, [](const PortStatus& s) {
            return s.awaitingNext && s.message == connectNextRadioText();
        }));
    }

    // Two ports swapping: the first wave is numbered by port, later radios by their start.
    void swapNumbering() {
        FleetOptions options;
        options.count = 4;
        Fleet f(2, options);
        f.hook = [&](int port, HookedClock& clock) {
            // Each port gets a new radio once 60 s have passed on its clock.
            if (clock.nowMs() > 60000 && radioIdText(f.radio(port).memory()).startsWith(QString("SIM000%1").arg(port + 1)))
                f.radio(port).setMemory(radioMemory(port + 3));
        };
        QVERIFY(f.run());
        // Each port's first radio has the port's number; the two after them 3 and 4.
        QStringList numbers;
        for (const RadioRecord& r : f.records())
            numbers << QStringLiteral("%1 %2").arg(r.radioId).arg(r.radio);
        numbers.sort();
        QCOMPARE(numbers.mid(0, 2), (QStringList{"SIM0001 1", "SIM0002 2"}));
        QVERIFY(numbers.mid(2) == (QStringList{"SIM0003 3", "SIM0004 4"}) ||
                numbers.mid(2) == (QStringList{"SIM0003 4", "SIM0004 3"}));
    }

    // Swap by prompt: radios with one ID; after each radio the port waits for Next.
    void swapByPrompt() {
        FleetOptions options;
        options.count = 2;
        options.prompt = true;
        Fleet f(1, options);
        f.radio(0).setMemory(sim::withRadioId(sim::defaultRadioMemory(), sim::radioIdBytes("SAME")));
        QSignalSpy finished(f.runner.get(), &FleetRunner::finished);
        QVERIFY(f.runner->start(f.ports, f.setup));
        QTRY_VERIFY(f.records().size() == 1 && !f.statuses.isEmpty() && f.statuses.last().awaitingNext);
        QCOMPARE(f.statuses.last().message, connectNextRadioText());
        f.runner->next(0); // the same ID again: programmed all the same
        QVERIFY(finished.wait(10000));
        QCOMPARE(int(f.records().size()), 2);
        QCOMPARE(f.records()[1].radio, 2);
        QCOMPARE(f.records()[1].radioId, QStringLiteral("SAME"));
        QCOMPARE(f.radio(0).log().blocksWritten.size(), 2 * WriteBlockCount);
    }

    // Stop: the radio being written is finished, then the port ends; a port waiting for the
    // next radio ends at once.
    void stopEndsAfterTheRadio() {
        FleetOptions options;
        options.count = 10;
        Fleet f(2, options);
        f.setFaults(1, {"silent"}); // port 2 waits for a radio
        f.hook = [&f](int port, HookedClock&) {
            if (port == 0 && f.radio(0).log().blocksWritten.size() == 5)
                f.runner->stop();
        };
        QVERIFY(f.run());
        QCOMPARE(int(f.records().size()), 1);
        QVERIFY(f.records()[0].ok);
        QCOMPARE(f.radio(0).log().blocksWritten.size(), WriteBlockCount);
        QVERIFY(f.holdsPlan(0));
    }

    // Stop Now: the write is cut at the next block and the radio's row says so.
    void stopNowCutsTheWrite() {
        FleetOptions options;
        options.verify = true;
        Fleet f(2, options);
        f.hook = [&f](int port, HookedClock&) {
            if (port == 0 && f.radio(0).log().blocksWritten.size() == 5)
                f.runner->stopNow();
            // Port 2 writes its first blocks, then waits for Stop Now.
            while (port == 1 && f.radio(1).log().blocksWritten.size() == 3 && !f.runner->stopping())
                QThread::msleep(1);
        };
        QVERIFY(f.run());
        QCOMPARE(int(f.records().size()), 2);
        for (const RadioRecord& r : f.records()) {
            QVERIFY(!r.ok && !r.verified);
            QVERIFY(r.message.startsWith(QLatin1String("Stopped now")));
        }
        QCOMPARE(f.recordOf("Radio 1")->message,
                 QStringLiteral("Stopped now: the write was cut. The radio must be written again."));
        QVERIFY(f.radio(0).log().blocksWritten.size() < WriteBlockCount);
        QCOMPARE(f.operations("Radio 1").last(), QStringLiteral("write failed SIM0001"));
    }

    // The shared state: places for a count (one under way may still fail), numbers by port
    // then by start, Next only for a port waiting for it, Stop waking the waiting ports.
    void sharedCountersAndNext() {
        FleetOptions swap;
        swap.count = 2;
        FleetShared shared(3, swap);
        QCOMPARE(shared.reserve(false), FleetShared::Place::Taken);
        QCOMPARE(shared.reserve(false), FleetShared::Place::Taken);
        QCOMPARE(shared.reserve(false), FleetShared::Place::Full);
        QCOMPARE(shared.numberRadio(2, true), 3);
        QCOMPARE(shared.numberRadio(0, false), 4);
        QCOMPARE(shared.numberRadio(1, false), 5);
        shared.radioEnded(false, "A");
        QCOMPARE(shared.reserve(false), FleetShared::Place::Taken); // the failed radio's place
        shared.radioEnded(true, "B");
        QVERIFY(shared.programmedAlready("B") && !shared.programmedAlready("A"));
        QVERIFY(!shared.enough());
        shared.radioEnded(true, "C");
        QVERIFY(shared.enough() && shared.over());
        QCOMPARE(shared.reserve(true), FleetShared::Place::Over);
        QCOMPARE(shared.totals().programmed, 2);
        QCOMPARE(shared.totals().failed, 1);

        FleetShared prompt(2, swap);
        prompt.next(0); // nobody waits: not kept
        std::atomic<int> woke{-1};
        std::thread waiter([&] { woke = prompt.waitForNext(0) ? 1 : 0; });
        QTest::qWait(50);
        QCOMPARE(woke.load(), -1);
        prompt.next(1); // another port's Next
        QTest::qWait(50);
        QCOMPARE(woke.load(), -1);
        prompt.next(-1);
        waiter.join();
        QCOMPARE(woke.load(), 1);
        std::thread stopped([&] { woke = prompt.waitForNext(1) ? 1 : 0; });
        QTest::qWait(20);
        prompt.requestStop();
        stopped.join();
        QCOMPARE(woke.load(), 0);
    }

    // The log: a header for a new file only, one flushed row per radio, CSV quoting.
    void logFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("fleet.csv");
        RadioRecord r;
        r.time = QDateTime(QDate(2025, 3, 1), QTime(10, 0, 5), QTimeZone(3600));
        r.port = "COM3";
        r.radio = 4;
        r.radioId = "SIM0004";
        r.modelValue = 7;
        r.backedUp = r.written = true;
        r.message = "Verify failed: 1 difference(s), see \"diff\"";
        {
            FleetLogFile log(path);
            QVERIFY(log.ok());
            QVERIFY(log.append(r));
            QFile read(path);
            QVERIFY(read.open(QIODevice::ReadOnly)); // flushed while the log is open
            QCOMPARE(read.readAll(),
                     QByteArray("time,port,radio,radio_id,model_value,backup,written,verified,info_written,result,message\n"
                                "2025-03-01T10:00:05+01:00,COM3,4,SIM0004,7,yes,yes,no,no,failed,"
                                "\"Verify failed: 1 difference(s), see \"\"diff\"\"\"\n"));
        }
        r.ok = true;
        r.modelValue = -1;
        FleetLogFile again(path);
        QVERIFY(again.append(r));
        QFile read(path);
        QVERIFY(read.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = read.readAll().split('\n');
        QCOMPARE(lines.size(), 4); // header, two rows, the last line end
        QVERIFY(lines[2].startsWith("2025-03-01T10:00:05+01:00,COM3,4,SIM0004,,yes,yes,no,no,ok,"));
        QVERIFY(!FleetLogFile(dir.filePath("no/such/folder/log.csv")).ok());
        QCOMPARE(logCsv({r}).count('\n'), 2);
    }

    void numberedPaths() {
        QCOMPARE(numberedPath("out.kvd", 2), QStringLiteral("out-2.kvd"));
        QCOMPARE(numberedPath("trace", 3), QStringLiteral("trace-3"));
        QCOMPARE(numberedPath("dir.d/trace", 1), QStringLiteral("dir.d/trace-1"));
        QCOMPARE(numberedPath("/tmp/a.b/t.txt", 12), QStringLiteral("/tmp/a.b/t-12.txt"));
        QCOMPARE(numberedPath(".trace", 1), QStringLiteral(".trace-1"));
    }

    // The radio ID read on its own: handshake, the two ID blocks with the read's waits, END;
    // the result names the radio.
    void radioIdRead() {
        test::RadioBench bench;
        ExchangeRunner runner(bench.link, bench.feedback);
        RadioData got;
        const ExchangeResult r = runner.readRadioId(RadioData{}, &got);
        QVERIFY(r.ok());
        QCOMPARE(r.kind, ExchangeKind::IdRead);
        QCOMPARE(r.radio.radioId, QStringLiteral("ORV-SIM-00000001"));
        QCOMPARE(r.radio.modelCode, 7);
        QCOMPARE(radioIdText(got), r.radio.radioId);
        const QList<QByteArray> p = bench.payloads();
        QCOMPARE(p.mid(p.size() - 3), (QList<QByteArray>{test::blockRequest('R', 0x3E0), test::blockRequest('R', 0x3E8), "END"}));
        QVERIFY(bench.radio.log().blocksWritten.isEmpty());
        QVERIFY(bench.feedback.shown.isEmpty()); // no completion message

        test::RadioBench broken({"wrong-address-at-block:0x7D:0x3E0"});
        ExchangeRunner runner2(broken.link, broken.feedback);
        const ExchangeResult bad = runner2.readRadioId(RadioData{});
        QCOMPARE(bad.reason, LinkFailure::BadReply);
        QCOMPARE(bad.message, QStringLiteral("Reading the radio ID interrupted. Please try again!"));
    }
};

QTEST_GUILESS_MAIN(TestFleet)
#include "test_fleet.moc"
