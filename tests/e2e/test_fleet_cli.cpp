// orvante-cli fleet against orvante-radio-sim --radios N on pseudo-terminals, in real time:
// four radios at once with one faulty, the lines, the exit status, the log and the traces;
// swapping radios by prompt; the virtual radios in the process; the runs that cannot start.

#include "CliProcess.h"

#include <csignal>

using namespace orv::test;

namespace {

// orvante-radio-sim --radios N: the N devices it prints first.
struct Radios {
    QProcess process;
    QStringList devices;
    Radios(int n, const QStringList& args) {
        process.start(bin("orvante-radio-sim"), QStringList{"--radios", QString::number(n)} + args);
        QElapsedTimer t;
        t.start();
        while (devices.size() < n && t.elapsed() < 5000) {
            if (!process.canReadLine() && !process.waitForReadyRead(500))
                continue;
            while (process.canReadLine())
                devices << QString::fromLocal8Bit(process.readLine()).trimmed();
        }
    }
    QStringList portOptions() const {
        QStringList out;
        for (const QString& d : devices)
            out << "--port" << d;
        return out;
    }
    bool stop() {
        process.terminate();
        return process.waitForFinished(5000) && process.exitCode() == 0;
    }
    ~Radios() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
};

// What `p` writes on `channel` until it has written `text` (30 s at most).
QByteArray readUntil(QProcess& p, QProcess::ProcessChannel channel, const QByteArray& text) {
    p.setReadChannel(channel);
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (!got.contains(text) && t.elapsed() < 30000)
        if (p.waitForReadyRead(200))
            got += p.readAll();
    return got;
}

QString sample() { return qEnvironmentVariable("ORVANTE_SOURCE_DIR") + "/data/samples/demo-radio.kvd"; }

} // namespace

class TestFleetCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY2(QFile::exists(bin("orvante-radio-sim")), "orvante-radio-sim is not built"); }

    // Four radios at once, the third refusing a block: one line per radio as it ends, the
    // totals last, exit 1; the log's header and rows; one trace per port; the radios that
    // were programmed hold the plan and their own information text.
    void fourRadiosOneFaulty() {
        Radios radios(4, {"--fault-radio", "3:nak-at-block:5", "--save-on-exit", path("radio.kvd")});
        QCOMPARE(radios.devices.size(), 4);
        const Run r = cli(QStringList{"--trace", path("trace.txt"), "fleet", sample()} + radios.portOptions() +
                          QStringList{"--backup", "--verify", "--info", "Fleet {n} {id} on {port}", "--log", path("log.csv")});
        QCOMPARE(r.exitCode, 1);
        QStringList lines = QString::fromUtf8(r.out.trimmed()).split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.takeLast(), QStringLiteral("Fleet: 3 programmed, 1 failed."));
        lines.sort();
        for (int i : {0, 1, 3})
            QCOMPARE(lines[i], QStringLiteral("%1: radio %2 (ID SIM000%2): programmed, backed up, verified, information written")
                                   .arg(radios.devices[i]).arg(i + 1));
        QCOMPARE(lines[2], QStringLiteral("%1: radio 3 (ID SIM0003): failed: Writing data interrupted. Please write again!")
                               .arg(radios.devices[2]));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(fileBytes(path(QStringLiteral("trace-%1.txt").arg(i))).contains(" TX 1B "));
        QVERIFY(radios.stop());

        const QStringList log = QString::fromUtf8(fileBytes(path("log.csv")).trimmed()).split('\n');
        QCOMPARE(log.size(), 5);
        QCOMPARE(log[0], QStringLiteral("time,port,radio,radio_id,model_value,backup,written,verified,info_written,result,message"));
        QVERIFY(log.filter(",3,SIM0003,7,yes,no,no,no,failed,Writing data interrupted. Please write again!").size() == 1);
        QCOMPARE(log.filter(",yes,yes,yes,yes,ok,").size(), 3);

        const Run shown = cli({"show", path("radio-2.kvd")});
        QVERIFY2(shown.out.contains(QStringLiteral("Fleet 2 SIM0002 on %1").arg(radios.devices[1]).toUtf8()), shown.out);
        // The plan's channels went in; the faulty radio kept its own memory (its ID too).
        QCOMPARE(dump(path("radio-1.kvd")).mid(0, 16), dump(sample()).mid(0, 16));
        QVERIFY(cli({"show", path("radio-3.kvd")}).out.contains("SIM0003"));

        // A second run appends to the log, without a second header.
        Radios again(1, {});
        QCOMPARE(cli(QStringList{"fleet", sample(), "--log", path("log.csv")} + again.portOptions()).exitCode, 0);
        const QStringList appended = QString::fromUtf8(fileBytes(path("log.csv")).trimmed()).split('\n');
        QCOMPARE(appended.size(), 6);
        QCOMPARE(appended.filter("time,port").size(), 1);
    }

    // Radios with one ID on one cable, swapped by prompt: Enter programs the next one.
    void swapByPrompt() {
        Radios radios(1, {"--radio-id", "SAME"});
        QCOMPARE(radios.devices.size(), 1);
        QProcess p;
        p.start(bin("orvante-cli"), QStringList{"fleet", sample(), "--count", "2", "--next", "prompt"} +
                                        radios.portOptions());
        const QByteArray err = readUntil(p, QProcess::StandardError, "Connect the next radio, then press Enter");
        QVERIFY2(err.contains(QStringLiteral("%1: Connect the next radio, then press Enter").arg(radios.devices[0]).toUtf8()),
                 err);
        p.write("\n");
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        QVERIFY2(out.contains("radio 1 (ID SAME): programmed\n") && out.contains("radio 2 (ID SAME): programmed\n"), out);
        QVERIFY(out.endsWith("Fleet: 2 programmed, 0 failed.\n"));
    }

    // Ctrl+C while swapping: the port ends after its radio, the totals still come last.
    void interruptStops() {
        Radios radios(1, {});
        QProcess p;
        p.start(bin("orvante-cli"), QStringList{"fleet", sample(), "--count", "3"} + radios.portOptions());
        const QByteArray out = readUntil(p, QProcess::StandardOutput, "radio 1 (ID SIM0001): programmed");
        QVERIFY2(out.contains("programmed"), out);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardError().contains("Stopping after the radios under way"));
        QVERIFY((out + p.readAllStandardOutput()).endsWith("Fleet: 1 programmed, 0 failed.\n"));
    }

    // Virtual radios in the process, each with its own ID.
    void demoRadios() {
        const Run r = cli({"fleet", sample(), "--demo-radios", "3", "--verify"});
        QCOMPARE(r.exitCode, 0);
        for (int i = 1; i <= 3; ++i)
            QVERIFY2(r.out.contains(QStringLiteral("Demo radio %1: radio %1 (ID SIM000%1): programmed, verified\n").arg(i).toUtf8()),
                     r.out);
    }

    // The simulator's radios: one ID for all, their own files, a fault for one radio only.
    void simulatorRadios() {
        {
            Radios radios(2, {"--radio-id", "FLEET", "--fault-radio", "1:silent", "--save-on-exit", path("sim.kvd"),
                              "--trace", path("sim.txt")});
            QCOMPARE(radios.devices.size(), 2);
            const Run second = cli({"--port", radios.devices[1], "info-read"});
            QCOMPARE(second.exitCode, 0);
            QVERIFY2(second.out.contains("\nFLEET           \n"), second.out);
            QCOMPARE(cli({"--port", radios.devices[0], "info-read"}).exitCode, 1); // the silent one
            QVERIFY(radios.stop());
        }
        for (const char* name : {"sim-1.kvd", "sim-2.kvd"})
            QVERIFY(cli({"show", path(name)}).out.contains("FLEET"));
        QVERIFY(fileBytes(path("sim-2.txt")).contains(" RX 1B"));
        QVERIFY(!fileBytes(path("sim-1.txt")).contains(" TX "));
        const Run refused = runCommand({bin("orvante-radio-sim"), "--radios", "2", "--fault-radio", "3:silent"});
        QCOMPARE(refused.exitCode, 2);
    }

    // Runs that cannot start: exit 1 with the reason last on stderr; usage errors: exit 2.
    void refusals() {
        Radios radios(1, {});
        Run r = cli({"fleet", sample(), "--port", radios.devices[0], "--port", radios.devices[0]});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.lastErrLine(), QStringLiteral("The port %1 is named twice.").arg(radios.devices[0]).toUtf8());
        r = cli({"fleet", path("missing.kvd"), "--port", radios.devices[0]});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(!r.err.isEmpty());
        QCOMPARE(cli({"fleet", sample()}).exitCode, 2);
        QCOMPARE(cli({"fleet", sample(), "--demo-radios", "2", "--count", "0"}).exitCode, 2);
        QCOMPARE(cli({"fleet", sample(), "--demo-radios", "2", "--next", "prompt"}).exitCode, 2);
        QCOMPARE(cli({"fleet", sample(), "--demo-radios", "2", "--yes"}).exitCode, 2);
        QCOMPARE(cli({"write", sample(), "--demo", "--backup"}).exitCode, 2);
        QCOMPARE(radios.process.state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestFleetCli)
#include "test_fleet_cli.moc"
