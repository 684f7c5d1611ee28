// orvante-cli against orvante-radio-sim on a pseudo-terminal: the real serial port, real
// time. Kept few: each read costs about seven seconds of wire time.

#include "CliProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace orv::test;

class TestRadioCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(bin("orvante-radio-sim")), "orvante-radio-sim is not built");
    }

    // A raw write of a file and a read back give the same memory for everything the write
    // sends; the radio's saved memory agrees; both traces show both directions.
    void writeThenReadBack() {
        Radio radio({"--save-on-exit", path("radio.kvd"), "--trace", path("sim-trace.txt")});
        QVERIFY(!radio.device.isEmpty());
        Run r = cli({"new", "--model-value", "7", "-o", path("new.kvd")});
        QCOMPARE(r.exitCode, 0);
        r = cli({"--port", radio.device, "--trace", path("trace.txt"), "write", "--raw", path("new.kvd")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.trimmed(), QByteArray("Write data is complete. Press OK button to continue ..."));
        r = cli({"--port", radio.device, "read", "-o", path("back.kvd")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(radio.stop());
        // The channels (image rows 000-0F0) went out unchanged; the read gives what the radio holds.
        const QList<QByteArray> written = dump(path("new.kvd"));
        const QList<QByteArray> back = dump(path("back.kvd"));
        QCOMPARE(back.mid(0, 16), written.mid(0, 16));
        QCOMPARE(back.mid(0, 64), dump(path("radio.kvd")).mid(0, 64));
        const QList<QByteArray> trace = fileBytes(path("trace.txt")).split('\n');
        QVERIFY(trace.size() > 40);
        QVERIFY(trace[0].contains(" TX 1B "));
        QVERIFY(trace[1].contains(" RX 06"));
        const QByteArray simTrace = fileBytes(path("sim-trace.txt"));
        QVERIFY(simTrace.contains(" RX 1B") && simTrace.contains(" TX 06\n"));
    }

    // Another model: without --yes the write stops at the question, says so, exit 1.
    void questionStopsTheWrite() {
        Radio radio({"--model-code", "8"});
        QVERIFY(!radio.device.isEmpty());
        QCOMPARE(cli({"new", "--model-value", "7", "-o", path("q.kvd")}).exitCode, 0);
        const Run r = cli({"--port", radio.device, "write", path("q.kvd")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.lastErrLine().startsWith("Stopped at the question: The selected model is different"), r.err);
    }

    // The radio goes away mid-read: the read ends within a few seconds with its message, and
    // no file is written.
    void cutLineMidRead() {
        Radio radio({});
        QVERIFY(!radio.device.isEmpty());
        qint64 killedAt = -1;
        const Run r = cli({"--port", radio.device, "read", "-o", path("cut.kvd")}, [&](qint64 ms) {
            if (killedAt < 0 && ms > 2500) {
                radio.process.kill();
                killedAt = ms;
            }
        });
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.lastErrLine(), QByteArray("Reading data interrupted. Please read again!"));
        QVERIFY2(r.ms - killedAt < 10000, qPrintable(QString::number(r.ms - killedAt)));
        QVERIFY(!QFile::exists(path("cut.kvd")));
    }

    // Alignment over the real port: one item stored on a test channel, the value in the
    // radio's memory afterwards, and the radio out of tune mode.
    void tuneStoresAValue() {
        Radio radio({"--save-on-exit", path("tuned.kvd")});
        QVERIFY(!radio.device.isEmpty());
        Run r = cli({"--port", radio.device, "tune-read", "-o", path("tune.kvd")});
        QCOMPARE(r.exitCode, 0);
        // The first test channel in use carries the alignment (the radio's last one is unused).
        const QList<QByteArray> rows = dump(path("tune.kvd"));
        int channel = 0;
        for (int t = 0; t < 11 && !channel; ++t)
            if (rows[16 + t].split(' ').value(3).toInt(nullptr, 16) & 0x08)
                channel = t + 1;
        QVERIFY(channel > 0);
        r = cli({"--port", radio.device, "tune", "--channel", QString::number(channel), "--item", "SqlOpen",
                 "--value", "123", "--store"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("SqlOpen after: 123"), r.out + r.err);
        // A test channel that is not in use is refused.
        r = cli({"--port", radio.device, "tune", "--channel", "11", "--item", "Battery", "--value", "1", "--cancel"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.lastErrLine().contains("\"No CH\""), r.err);
        QVERIFY(radio.stop());
        QVERIFY(dump(path("tuned.kvd"))[47].startsWith("2F0: "));
        QCOMPARE(dump(path("tuned.kvd"))[47].split(' ').value(3), QByteArray("7B"));
    }

    // No --port, and a program folder the user cannot write: the program's INI, with the stored
    // port and the device behind it, is the one in the user's configuration folder.
    void storedPortFromTheUsersConfigFolder() {
        const ReadOnlyInstall install;
        QVERIFY(install.copied);
        if (!install.skipWhy.isEmpty())
            QSKIP(qPrintable(install.skipWhy));
        Radio radio({}, install.command("orvante-radio-sim"));
        QVERIFY(!radio.device.isEmpty());
        QVERIFY(orv::test::putFile(install.configHome + "/orvante/ORVANTE.ini",
                                   "[Comm Port]\nCommon Port=3\nCOM3=" + radio.device.toUtf8() + "\n"));
        const Run r = install.cli({"info-read"});
        QVERIFY2(r.exitCode == 0, r.err);
        // What the built-in demo radio holds, which is the virtual radio's memory too.
        const Run demo = cli({"--demo", "info-read"});
        QCOMPARE(demo.exitCode, 0);
        QCOMPARE(r.out, demo.out);
        QVERIFY(!QFile::exists(install.program + "/ORVANTE.ini"));
    }

    // write --verify reads back what was written: a radio that holds it, then one that
    // acknowledged channel 1's first block but kept its old bytes, which diff --radio shows too.
    void verifyAfterWrite() {
        QCOMPARE(cli({"new", "--model-value", "7", "-o", path("verify.kvd")}).exitCode, 0);
        {
            Radio radio({});
            QVERIFY(!radio.device.isEmpty());
            const Run r = cli({"--port", radio.device, "write", "--verify", path("verify.kvd")});
            QVERIFY2(r.exitCode == 0, r.err);
            QCOMPARE(r.out.trimmed().split('\n'), (QList<QByteArray>{"Write data is complete. Press OK button to continue ...",
                                                                     "Verify: the radio holds what was written."}));
        }
        Radio radio({"--fault", "keep-old-at-block:0"});
        QVERIFY(!radio.device.isEmpty());
        Run r = cli({"--port", radio.device, "write", "--verify", path("verify.kvd")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(QRegularExpression("^Verify failed: [1-9][0-9]* difference\\(s\\) between what was written and what "
                                   "the radio holds\\.$")
                    .match(QString::fromUtf8(r.lastErrLine()))
                    .hasMatch());
        QVERIFY2(r.err.startsWith("CH 1  Rx Freq(MHz)  136.00000 -> 146.52000\n"), r.err);

        r = cli({"--port", radio.device, "diff", path("verify.kvd"), "--radio", "--scope", "programming", "--format",
                 "json"});
        QCOMPARE(r.exitCode, 1);
        const QJsonObject diff = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(diff.value("scope").toString(), QStringLiteral("programming"));
        QCOMPARE(diff.value("differences").toArray().first().toObject(),
                 (QJsonObject{{"section", "channel"}, {"channel", 1}, {"field", "rx_freq"}, {"a", "136.00000"},
                              {"b", "146.52000"}}));
        QVERIFY(r.err.contains("Read data is complete."));
    }

    // A port that is not there: the port message and the reason, on one line.
    void missingPort() {
        const Run r = cli({"--port", "/dev/orvante-missing", "info-read"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.lastErrLine().startsWith("/dev/orvante-missing port don't respond, please check your connection! "
                                            "/dev/orvante-missing was not found."),
                 r.err);
    }
};

QTEST_GUILESS_MAIN(TestRadioCli)
#include "test_radio_cli.moc"
