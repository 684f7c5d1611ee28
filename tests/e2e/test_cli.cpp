// orvante-cli as a separate process: exit codes, the last stderr line, the outputs' forms.

#include "common/CliProcess.h"
#include "common/PlanSetup.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "files/DataFile.h"

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

using orv::test::Run;
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
        // --format is refused where it means nothing, before anything is done.
        r = cli({"print", path("v7.kvd"), "--pdf", path("f.pdf"), "--format", "csv"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(!QFile::exists(path("f.pdf")));
        QCOMPARE(cli({"--demo", "info-read", "--format", "json"}).exitCode, 2);
        // --help-all is --help.
        r = cli({"--help-all"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, cli({"--help"}).out);
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

    // check: one warning a line on stdout; 0 without warnings, 1 with, 2 for a usage error or
    // a file it cannot read. The file is made and saved by the program's own document.
    void checkPrintsTheWarnings() {
        orv::test::StartedDocument s(orv::test::twoModelCatalog());
        orv::Document& d = s.doc();
        orv::test::giveChannelsTheirOwnFrequencies(d);
        QCOMPARE(d.save(path("planned.kvd"), s.feedback), orv::SaveStatus::Ok);
        Run r = cli({"check", path("planned.kvd")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.isEmpty());

        d.setChannelCell(2, orv::ColTxFreq, "175.00000");
        d.setChannelCell(4, orv::ColRxFreq, "000.00000");
        d.setChannelCell(9, orv::ColRxFreq, "141.00000");
        d.setChannelNoCh(3, true);
        d.setTestChannelNoCh(6, false);
        d.setTestChannelCell(6, orv::TuneColRxFreq, "131.00000");
        d.collectTestChannels();
        QCOMPARE(d.save(path("warnings.kvd"), s.feedback), orv::SaveStatus::Ok);
        r = cli({"check", path("warnings.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray("CH 2: Tx Freq 175.00000 MHz is outside the standard band 136.00000~174.00000 MHz\n"
                                   "CH 4: the channel is in use but has no receive frequency (Rx Freq 000.00000 MHz)\n"
                                   "CH 9: Rx Freq 141.00000 MHz and Rx CTC/DCS OFF are the same as on CH 1\n"
                                   "Priority CH: CH 3 is not in use (No CH is ticked)\n"
                                   "Test CH 6: Rx Freq 131.00000 MHz is outside the standard band "
                                   "136.00000~174.00000 MHz\n"));
        QVERIFY(r.err.isEmpty());
        QCOMPARE(cli({"check", path("v7.kvd")}).out.count('\n'), 14); // a new data set: 2-15 repeat 1

        r = cli({"check", path("missing.kvd")});
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.lastErrLine(), QByteArray("The file isnot exit. Please confirm it."));
        QVERIFY(r.out.isEmpty());
        QVERIFY(putFile(path("cut.kvd"), fileBytes(path("warnings.kvd")).left(600)));
        r = cli({"check", path("cut.kvd")});
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.lastErrLine(), QByteArray("The file is damaged! Please confirm it."));
        QCOMPARE(cli({"--catalog", path("nowhere.ini"), "check", path("v7.kvd")}).exitCode, 2);
        for (const QStringList& wrong : {QStringList{"check"}, QStringList{"check", path("v7.kvd"), path("v7.kvd")},
                                         QStringList{"check", path("v7.kvd"), "--demo"},
                                         QStringList{"check", path("v7.kvd"), "-o", path("x.kvd")}}) {
            r = cli(wrong);
            QCOMPARE(r.exitCode, 2);
            QVERIFY(r.out.isEmpty());
        }
        QVERIFY(cli({"--help"}).out.contains("check FILE"));
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

    // diff: exit 0 for no difference in the scope, 1 for differences, 2 for a usage error or a
    // failure; the text form with its count line; JSON with the scope.
    void diffTwoFiles() {
        const orv::LoadOutcome v7 = orv::readDataFile(path("v7.kvd"), orv::RadioData{});
        QCOMPARE(v7.status, orv::LoadStatus::Ok);
        orv::RadioData b = v7.data;
        b.functionSettings()[7] = 0x12; // Tx TOT 120s
        b.image[0x1B0] = 0x12;          // a byte no field shows
        b.tuneValues()[0] = 5;
        QCOMPARE(orv::writeDataFile(path("v7b.kvd"), b), orv::SaveStatus::Ok);

        Run r = cli({"diff", path("v7.kvd"), path("v7.kvd")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("No differences\n"));
        r = cli({"diff", path("v7.kvd"), path("v7b.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray("Image 0x1B0  bytes  00 -> 12\n"
                                   "Settings  Tx TOT  60s -> 120s\n"
                                   "Tune Items  Battery Level  0 -> 5\n"
                                   "3 difference(s)\n"));
        QVERIFY(r.err.isEmpty());
        r = cli({"diff", path("v7.kvd"), path("v7b.kvd"), "--scope", "programming", "--format", "json"});
        QCOMPARE(r.exitCode, 1);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value("scope").toString(), QStringLiteral("programming"));
        QCOMPARE(o.value("identical").toBool(), false);
        QCOMPARE(o.value("differences").toArray(),
                 (QJsonArray{QJsonObject{{"section", "settings"}, {"field", "Tx TOT"}, {"a", "60s"}, {"b", "120s"}}}));

        // Only the tune value and the raw byte differ: nothing Write sends.
        b.functionSettings()[7] = v7.data.functionSettings()[7];
        QCOMPARE(orv::writeDataFile(path("v7c.kvd"), b), orv::SaveStatus::Ok);
        r = cli({"diff", path("v7.kvd"), path("v7c.kvd"), "--scope", "programming", "--format", "json"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(QJsonDocument::fromJson(r.out).object().value("identical").toBool());

        r = cli({"diff", path("v7.kvd"), path("missing.kvd")});
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.lastErrLine(), QByteArray("The file isnot exit. Please confirm it."));
        QVERIFY(r.out.isEmpty());
        for (const QStringList& wrong : {QStringList{"diff", path("v7.kvd")},
                                         {"diff", path("v7.kvd"), path("v7b.kvd"), "--scope", "radio"},
                                         {"diff", path("v7.kvd"), path("v7b.kvd"), "--format", "csv"},
                                         {"diff", path("v7.kvd"), path("v7b.kvd"), "--demo"},
                                         {"diff", path("v7.kvd"), path("v7b.kvd"), "--radio", "--demo"},
                                         {"export", path("v7.kvd"), "--scope", "all"},
                                         {"export", path("v7.kvd"), "--verify"}})
            QVERIFY2(cli(wrong).exitCode == 2, qPrintable(wrong.join(' ')));
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
