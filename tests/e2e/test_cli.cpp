// orvante-cli as a separate process: exit codes, the last stderr line, the outputs' forms.

#include "common/CliProcess.h"
#include "common/TestFiles.h"

#include <QFile>
#include <QStandardPaths>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using orv::test::putFile;
using orv::test::fileBytes;

using Run = orv::test::CliRun;
using orv::test::cli;

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // Every test below reads the new file made here for the model of value 7.
    void initTestCase() {
        const Run r = cli({"new", "--model-value", "7", "-o", path("v7.kvd")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(fileBytes(path("v7.kvd")).size(), 1370);
    }

    void newFileForEachWayOfNamingTheModel() {
        Run r = cli({"new", "--model-position", "5", "-o", path("pmr.pvlt")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(fileBytes(path("pmr.pvlt")).contains("Version = 1.1"));

        r = cli({"export", path("pmr.pvlt")});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value("data_version").toInt(), 0);
        QCOMPARE(o.value("model").toObject().value("position").toInt(), 5);
        QCOMPARE(o.value("model_byte").toInt(), 32);
        QCOMPARE(o.value("channels").toArray().at(0).toObject().value("rx_signal").toString(), QStringLiteral("CTC 74.4"));
        QCOMPARE(o.value("channels").toArray().at(15).toObject().value("in_use").toBool(), false);
        QVERIFY(o.value("messages").toArray().isEmpty());
    }

    // The report as a PDF, on a machine without a display; its text layer read back by a
    // real PDF reader when poppler's pdftotext is installed.
    void printWritesThePdfReport() {
        const QString demo = qEnvironmentVariable("ORVANTE_SOURCE_DIR") + "/data/samples/demo-radio.kvd";
        const QStringList noDisplay{"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
        Run r = cli({"print", demo, "--pdf", path("channels.pdf")}, noDisplay);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(fileBytes(path("channels.pdf")).startsWith("%PDF-"));
        QCOMPARE(cli({"print", demo, "--pdf", path("tune.pdf"), "--view", "tune"}).exitCode, 0);

        QCOMPARE(cli({"print", demo}).exitCode, 2);
        QCOMPARE(cli({"print", demo, "--pdf", path("x.pdf"), "--view", "radio"}).exitCode, 2);
        QCOMPARE(cli({"show", demo, "--pdf", path("x.pdf")}).exitCode, 2);
        r = cli({"print", path("nowhere.kvd"), "--pdf", path("x.pdf")});
        QCOMPARE(r.exitCode, 1);
        r = cli({"print", demo, "--pdf", path("no-folder/x.pdf")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.lastErrLine().startsWith("Cannot write "));
        QVERIFY(!QFile::exists(path("x.pdf")));

        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const auto text = [&](const QString& pdf) {
            QProcess p;
            p.start(pdftotext, {"-layout", pdf, "-"});
            p.waitForFinished(30000);
            return QString::fromUtf8(p.readAllStandardOutput()).simplified();
        };
        const QString channels = text(path("channels.pdf"));
        for (const char* expected : {"VUX ORVANTE Programming Software", "Channel Settings", "Model: PALUVIN V16",
                                     "CH1 146.52000 CTC 88.5 146.52000 CTC 88.5 Add OFF High Wide",
                                     "CH7 162.55000 OFF ------------- ------ Delete ------ ------ Wide",
                                     "CH15 ~ CH16 are empty.", "Global Radio Settings", "Tx TOT 120s Beep Tone ON",
                                     "Priority CH CH1 Monitor SQ OFF Momentary"})
            QVERIFY2(channels.contains(QLatin1String(expected)), expected);
        QVERIFY(channels.indexOf("Channel Settings") < channels.indexOf("Global Radio Settings"));
        const QString tune = text(path("tune.pdf"));
        for (const char* expected : {"Tune Settings", "136.00000 ~ 174.00000 MHz", "CH6 ~ CH11 are empty.",
                                     "CH 1 is the current channel of tuning.", "Battery Level: 128"})
            QVERIFY2(tune.contains(QLatin1String(expected)), expected);
        QVERIFY(!tune.contains("Channel Settings"));
    }

    void refusalsAndUsageErrors() {
        Run r = cli({"new", "--model-value", "300", "-o", path("x.kvd")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(!QFile::exists(path("x.kvd")));
        QCOMPARE(cli({"new", "--model-position", "99", "-o", path("x.kvd")}).exitCode, 1);
        QCOMPARE(cli({"new", "-o", path("x.kvd")}).exitCode, 2);
        QCOMPARE(cli({"new", "--model-value", "7", "--model-position", "0", "-o", path("x.kvd")}).exitCode, 2);
        QCOMPARE(cli({"frobnicate"}).exitCode, 2);
        QCOMPARE(cli({"export", path("x.kvd"), "--format", "xml"}).exitCode, 2);
        QCOMPARE(cli({"show"}).exitCode, 2);
        r = cli({"--catalog", path("nowhere.ini"), "show", path("v7.kvd")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.lastErrLine().contains("nowhere.ini"));

        r = cli({"show", path("missing.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.lastErrLine(), QByteArray("The file isnot exit. Please confirm it."));

        QVERIFY(putFile(path("bad.kvd"), fileBytes(path("v7.kvd")).left(600)));
        r = cli({"export", path("bad.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.lastErrLine(), QByteArray("The file is damaged! Please confirm it."));
        QVERIFY(r.out.isEmpty());

        QVERIFY(putFile(path("alien.kvd"), "hello, world"));
        QCOMPARE(cli({"dump", path("alien.kvd")}).lastErrLine(), QByteArray("The file is not PALUVIN data file!"));
    }

    void convertKeepsEveryByteButSettingsByteZero() {
        QByteArray original = fileBytes(path("v7.kvd"));
        QVERIFY(!original.isEmpty());
        original[0x042 + 5 * 16 + 3] = char(0x5A); // some channel byte
        original[0x156 + 10] = char(0x77);          // spare table
        original[0x39E] = char(0x6B);              // settings byte 0, bit 7 clear
        QVERIFY(putFile(path("orig.kvd"), original));

        QCOMPARE(cli({"convert", path("orig.kvd"), path("old.pvlt")}).exitCode, 0);
        const QByteArray old = fileBytes(path("old.pvlt"));
        QCOMPARE(old.size(), 1370);
        QCOMPARE(quint8(old[0x39E]), quint8(0xD3)); // ((0x6B & 0x78) << 1) | 0x03
        QCOMPARE(cli({"convert", path("old.pvlt"), path("back.kvd")}).exitCode, 0);
        QCOMPARE(fileBytes(path("back.kvd")), original);
    }

    void dumpAndShowForms() {
        Run r = cli({"dump", path("v7.kvd")});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 64 + 5);
        QVERIFY(lines[0].startsWith("000: 00 55 0C 00 00 00 55 0C 00 00 00 00 00 00 01 01"));
        QVERIFY(lines[43].startsWith("2B0: 68 03 03 05 01 00 30 06 FF FF 01 05 28 00 00 00"));
        QVERIFY(lines[64].startsWith("S0: 00 00"));
        QCOMPARE(lines[63].size(), 4 + 16 * 3 - 1 + 1);

        r = cli({"show", path("v7.kvd")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains("CH 16"));
        QVERIFY(r.out.contains("SQ OFF Momentary"));
        QVERIFY(r.out.contains("136.00000~174.00000 MHz"));

        r = cli({"--version"});
        QVERIFY(r.out.startsWith("orvante-cli "));
        r = cli({"export", path("v7.kvd"), "--format", "csv"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.split('\n').at(1), QByteArray("CH 1,136.00000,OFF,136.00000,OFF,Add,OFF,High,Wide,0,0"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
