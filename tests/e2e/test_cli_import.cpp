// orvante-cli import as a script runs it: the round trips with the export for the shipped
// sample and a new file of every catalog model, notes on stdout, errors on stderr with
// nothing written, --keep-going, the usage errors.

#include "common/CliProcess.h"
#include "common/ImportParts.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "catalog/IniFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using orv::test::cli;
using orv::test::Run;
using orv::test::fileBytes;
using orv::test::importedParts;
using orv::test::putFile;

class TestCliImport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    const QString m_demo = qEnvironmentVariable("ORVANTE_SOURCE_DIR") + QStringLiteral("/data/samples/demo-radio.kvd");

    // What Open followed by Save As writes for a file, done in this process.
    QByteArray openAndSaveAs(const QString& file, const QString& out) {
        const IniFile ini(qEnvironmentVariable("ORVANTE_BIN_DIR") + QStringLiteral("/vuxPC.ini"));
        const StartupValues startup = readStartupValues(ini, QString());
        VirtualClock clock;
        Document doc(startup, ModelCatalog::read(ini, startup.modelCount), clock, NumberFormat());
        SilentFeedback quiet;
        doc.startUp(quiet);
        if (doc.load(file, quiet) != LoadStatus::Ok || doc.save(out, quiet) != SaveStatus::Ok)
            return {};
        return fileBytes(out);
    }

private slots:
    void roundTripsOfTheSampleAndEveryModel() {
        QStringList files{m_demo};
        for (int position = 0; position < 7; ++position) {
            files << path(QStringLiteral("model%1.kvd").arg(position));
            QCOMPARE(cli({"new", "--model-position", QString::number(position), "-o", files.last()}).exitCode, 0);
        }
        for (const QString& file : files) {
            const QByteArray saved = openAndSaveAs(file, path("saved.kvd"));
            QVERIFY(!saved.isEmpty());
            const QJsonObject model = QJsonDocument::fromJson(cli({"export", file}).out).object().value("model").toObject();
            for (const QString& format : {QStringLiteral("csv"), QStringLiteral("json")}) {
                const Run exported = cli({"export", file, "--format", format});
                QCOMPARE(exported.exitCode, 0);
                const QString in = path("plan." + format);
                QVERIFY(putFile(in, exported.out));
                // Onto the file itself: nothing changes, nothing is said.
                Run r = cli({"import", in, "--base", file, "-o", path("same.kvd")});
                QCOMPARE(r.exitCode, 0);
                QCOMPARE(r.out, QByteArray());
                QCOMPARE(fileBytes(path("same.kvd")), saved);
                // Into a new image of the file's model: the same export back, or notes for
                // what lay outside the range.
                r = cli({"import", in, "--model-position", QString::number(model.value("position").toInt()), "-o",
                         path("fresh.kvd")});
                QCOMPARE(r.exitCode, 0);
                const QByteArray back = cli({"export", path("fresh.kvd"), "--format", format}).out;
                if (r.out.isEmpty() && format == QLatin1String("csv"))
                    QCOMPARE(back, exported.out);
                if (format == QLatin1String("json")) {
                    const QJsonObject want = QJsonDocument::fromJson(exported.out).object();
                    const QJsonObject got = QJsonDocument::fromJson(back).object();
                    if (r.out.isEmpty())
                        QCOMPARE(importedParts(got), importedParts(want));
                    // The test channels are kept in the file's records.
                    QCOMPARE(got.value("test_channels"), want.value("test_channels"));
                }
                for (const QByteArray& note : r.out.trimmed().split('\n'))
                    QVERIFY2(note.isEmpty() || note.contains("(outside "), note.constData());
            }
        }
    }

    void notesGoToStdoutAndTheResultIsSaved() {
        QVERIFY(putFile(path("notes.csv"), "CH No.;Rx Freq(MHz);Tx Freq(MHz)\r\n\"CH 1\";446.1;146.521\r\n"));
        const Run r = cli({"import", path("notes.csv"), "-o", path("notes.pvlt")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("CH 1 Rx Freq(MHz): 446.1 -> 176.00000 (outside 130.00000~176.00000 MHz)\n"
                                   "CH 1 Tx Freq(MHz): 146.521 -> 146.52000 (on the 5 kHz raster)\n"));
        QVERIFY(fileBytes(path("notes.pvlt")).contains("Version = 1.1")); // Save As: the format by the name
        QVERIFY(cli({"export", path("notes.pvlt"), "--format", "csv"}).out.contains("CH 1,176.00000,"));
    }

    void errorsWriteNothingUnlessKeepGoing() {
        const QByteArray csv = "CH No.,Rx CTC/DCS,Tx Power\n"
                               "CH 1,CTC 88.5,Low\n"
                               "CH 2,CTC 99.9,Low\n"
                               "CH 0,OFF,High\n";
        QVERIFY(putFile(path("bad.csv"), csv));
        Run r = cli({"import", path("bad.csv"), "-o", path("bad.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QByteArray("line 4, \"CH No.\": \"CH 0\" is not a channel (1 to 16)\n"
                                   "line 3, \"Rx CTC/DCS\": \"CTC 99.9\" is not a CTCSS tone\n"
                                   "Import refused: 2 error(s); nothing written.\n"));
        QVERIFY(!QFile::exists(path("bad.kvd")));
        QVERIFY(putFile(path("kept.kvd"), "untouched"));
        QCOMPARE(cli({"import", path("bad.csv"), "--base", m_demo, "-o", path("kept.kvd")}).exitCode, 1);
        QCOMPARE(fileBytes(path("kept.kvd")), QByteArray("untouched"));

        r = cli({"import", path("bad.csv"), "-o", path("bad.kvd"), "--keep-going"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("\"CTC 99.9\" is not a CTCSS tone"));
        const QByteArray written = cli({"export", path("bad.kvd"), "--format", "csv"}).out;
        QVERIFY(written.contains("CH 1,136.00000,CTC 88.5,"));
        QVERIFY(written.contains(",Low,Wide,0,0\nCH 2,136.00000,OFF,"));

        QVERIFY(putFile(path("bad.json"), R"({"channels": [], "colour": "red"})"));
        r = cli({"import", path("bad.json"), "-o", path("bad2.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QByteArray("colour: is not a key of the export\nImport refused: 1 error(s); nothing written.\n"));
        QVERIFY(!QFile::exists(path("bad2.kvd")));

        r = cli({"import", path("missing.csv"), "-o", path("x.kvd")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.lastErrLine().startsWith("Cannot read "));
        r = cli({"import", path("bad.json"), "--base", path("missing.kvd"), "-o", path("x.kvd")});
        QCOMPARE(r.lastErrLine(), QByteArray("The file isnot exit. Please confirm it."));
        QCOMPARE(cli({"import", path("bad.json"), "--model-value", "99", "-o", path("x.kvd")}).exitCode, 1);
        QVERIFY(!QFile::exists(path("x.kvd")));
    }

    void usageErrors() {
        QVERIFY(putFile(path("u.csv"), "CH No.\n"));
        for (const QStringList& args : QList<QStringList>{
                 {"import", path("u.csv")},
                 {"import", "-o", path("x.kvd")},
                 {"import", path("u.csv"), path("u.csv"), "-o", path("x.kvd")},
                 {"import", path("u.txt"), "-o", path("x.kvd")},
                 {"import", path("u.csv"), "--base", m_demo, "--model-value", "7", "-o", path("x.kvd")},
                 {"import", path("u.csv"), "--demo", "-o", path("x.kvd")},
                 {"import", path("u.csv"), "--format", "csv", "-o", path("x.kvd")},
                 {"show", m_demo, "--keep-going"},
                 {"export", m_demo, "--base", m_demo},
             })
            QVERIFY2(cli(args).exitCode == 2, qPrintable(args.join(' ')));
        QVERIFY(!QFile::exists(path("x.kvd")));
        QVERIFY(cli({"--help"}).out.contains("import IN [--base FILE | --model-value V | --model-position P] -o OUT"));
    }
};

QTEST_GUILESS_MAIN(TestCliImport)
#include "test_cli_import.moc"
