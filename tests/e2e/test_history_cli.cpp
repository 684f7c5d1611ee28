// The radio history and the backups of orvante-cli, end to end against orvante-radio-sim on
// a pseudo-terminal and the built-in demo radio: "Backup: PATH" after a read and the backup's
// bytes, none after a failed read or with --no-backup, two commands recording at once, the
// `history` listing in its three forms, and a history that cannot be written (damaged, in a
// folder the user cannot write) leaving the command's result as it was.

#include "CliProcess.h"
#include "history/HistoryDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>

using namespace orv::test;

namespace {

const QByteArray ReadDone = "Read data is complete. Press OK button to continue ...";
const QByteArray CsvHeader =
    "time,radio_id,model_value,data_version,port,operation,result,message,sha256,backup";

QProcessEnvironment withDataFolder(const QString& folder,
                                   QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
    env.insert(QStringLiteral("ORVANTE_DATA_DIR"), folder);
    return env;
}

// orvante-cli with its data folder.
Run cliIn(const QString& dataFolder, const QStringList& args) {
    return runCommand(QStringList{bin("orvante-cli")} + args, {}, withDataFolder(dataFolder));
}

QJsonArray historyJson(const QString& dataFolder, const QStringList& filter = {}) {
    const Run r = cliIn(dataFolder, QStringList{"history", "--format", "json"} + filter);
    if (r.exitCode != 0)
        qWarning("%s", r.err.constData());
    return QJsonDocument::fromJson(r.out).array();
}

QStringList lines(const QByteArray& text) {
    QStringList out;
    for (const QByteArray& l : text.trimmed().split('\n'))
        out << QString::fromUtf8(l);
    return out;
}

} // namespace

class TestHistoryCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_folders = 0;
    QString freshFolder() { return m_dir.filePath(QStringLiteral("data%1").arg(++m_folders)); }

  private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(bin("orvante-radio-sim")), "orvante-radio-sim is not built");
    }

    // Two reads at the same time from two radios into one data folder, one with --no-backup:
    // both recorded, one backup, which holds exactly what the read saved. Then the listing:
    // JSON with exactly the contract's keys, CSV with its header, per radio, newest first.
    void readsBackupsAndTheListing() {
        const QString data = freshFolder();
        // The second radio holds a new data set, without a radio ID.
        QCOMPARE(cli({"new", "--model-value", "7", "-o", m_dir.filePath("new.kvd")}).exitCode, 0);
        Radio first({});
        Radio second({"--image", m_dir.filePath("new.kvd")});
        QVERIFY(!first.device.isEmpty() && !second.device.isEmpty());
        QProcess a, b;
        a.setProcessEnvironment(withDataFolder(data));
        b.setProcessEnvironment(withDataFolder(data));
        a.start(bin("orvante-cli"), {"--port", first.device, "read", "-o", m_dir.filePath("a.kvd")});
        b.start(bin("orvante-cli"),
                {"--port", second.device, "--no-backup", "read", "-o", m_dir.filePath("b.kvd")});
        QVERIFY(a.waitForFinished(60000) && b.waitForFinished(60000));
        const QByteArray aErr = a.readAllStandardError(), bErr = b.readAllStandardError();
        QVERIFY2(a.exitCode() == 0 && aErr.isEmpty(), aErr);
        QVERIFY2(b.exitCode() == 0 && bErr.isEmpty(), bErr);
        const QStringList aOut = lines(a.readAllStandardOutput());
        QCOMPARE(aOut.size(), 3);
        QCOMPARE(aOut[0], QString::fromLatin1(ReadDone));
        QVERIFY2(aOut[1].startsWith("Backup: " + data + "/backups/ORV-DEMO-0000042/"), qPrintable(aOut[1]));
        QCOMPARE(aOut[2], "Saved to " + m_dir.filePath("a.kvd"));
        const QString backup = aOut[1].mid(8);
        QVERIFY(backup.endsWith("-read.kvd"));
        QCOMPARE(fileBytes(backup), fileBytes(m_dir.filePath("a.kvd")));
        QCOMPARE(lines(b.readAllStandardOutput()),
                 (QStringList{ReadDone, "Saved to " + m_dir.filePath("b.kvd")}));
        QCOMPARE(QDir(data + "/backups").entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"ORV-DEMO-0000042"});
        QCOMPARE(QDir(data + "/backups/ORV-DEMO-0000042").entryList(QDir::Files).size(), 1);

        // Both reads, each with its port; exactly the contract's keys.
        const QJsonArray all = historyJson(data);
        QCOMPARE(all.size(), 2);
        QStringList keys = all[0].toObject().keys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"backup", "data_version", "message", "model_value", "operation", "port",
                                    "radio_id", "result", "sha256", "time"}));
        QVERIFY(all[0].toObject()["time"].toString() >= all[1].toObject()["time"].toString());
        QJsonObject kept =
            all[0].toObject()["port"].toString() == first.device ? all[0].toObject() : all[1].toObject();
        QCOMPARE(kept["port"].toString(), first.device);
        QCOMPARE(kept["operation"].toString(), QStringLiteral("read"));
        QCOMPARE(kept["result"].toString(), QStringLiteral("ok"));
        QCOMPARE(kept["radio_id"].toString(), QStringLiteral("ORV-DEMO-0000042"));
        QCOMPARE(kept["model_value"].toInt(), 7);
        QCOMPARE(kept["data_version"].toInt(), 2);
        QCOMPARE(kept["message"].toString(), QString::fromLatin1(ReadDone));
        QCOMPARE(kept["backup"].toString(), backup);
        QVERIFY(QRegularExpression("^[0-9a-f]{64}$").match(kept["sha256"].toString()).hasMatch());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$")
                    .match(kept["time"].toString())
                    .hasMatch());
        const QJsonObject unnamed = all[0].toObject() == kept ? all[1].toObject() : all[0].toObject();
        QCOMPARE(unnamed["port"].toString(), second.device);
        QCOMPARE(unnamed["radio_id"].toString(), QString(""));
        QVERIFY(unnamed["backup"].isNull());

        // CSV: the header, then the same events; per radio; text for the eye.
        const Run csv = cliIn(data, {"history", "--radio-id", "ORV-DEMO-0000042", "--format", "csv"});
        QCOMPARE(csv.exitCode, 0);
        const QList<QByteArray> rows = csv.out.trimmed().split('\n');
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], CsvHeader);
        QVERIFY(rows[1].contains(",ORV-DEMO-0000042,7,2,") && rows[1].contains(",read,ok,"));
        QCOMPARE(historyJson(data, {"--radio-id", "someone else"}).size(), 0);
        const Run text = cliIn(data, {"history"});
        QCOMPARE(text.exitCode, 0);
        QVERIFY2(text.out.startsWith("Time ") && text.out.contains("Backup: " + backup.toUtf8()), text.out);
        // A port longer than its heading still stands apart from the message.
        QVERIFY2(text.out.contains(second.device.toUtf8() + "  "), text.out);
    }

    // A read that fails keeps nothing and is recorded as failed; the failure's message stays
    // the last line of stderr.
    void failedReadKeepsNothing() {
        const QString data = freshFolder();
        Radio radio({"--fault", "short-reply-at-block:3"});
        QVERIFY(!radio.device.isEmpty());
        const Run r = cliIn(data, {"--port", radio.device, "read", "-o", m_dir.filePath("failed.kvd")});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.lastErrLine(), QByteArray("Reading data interrupted. Please read again!"));
        QVERIFY(!r.out.contains("Backup:"));
        QVERIFY(!QFile::exists(data + "/backups"));
        const QJsonArray events = historyJson(data);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].toObject()["result"].toString(), QStringLiteral("failed"));
        QCOMPARE(events[0].toObject()["message"].toString(),
                 QStringLiteral("Reading data interrupted. Please read again!"));
        QVERIFY(events[0].toObject()["sha256"].isNull());
    }

    // No history yet: an empty list in every form, exit 0, and nothing made.
    void emptyHistoryAndUsage() {
        const QString data = freshFolder();
        Run r = cliIn(data, {"history", "--format", "json"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(r.out).array().size(), 0);
        QVERIFY(QJsonDocument::fromJson(r.out).isArray());
        r = cliIn(data, {"history", "--format", "csv"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, CsvHeader + "\n");
        r = cliIn(data, {"history"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(!QFile::exists(data));

        QCOMPARE(cliIn(data, {"history", "--format", "xml"}).exitCode, 2);
        QCOMPARE(cliIn(data, {"history", "extra"}).exitCode, 2);
        QCOMPARE(cliIn(data, {"--demo", "history"}).exitCode, 2);
        QCOMPARE(cliIn(data, {"dump", "x.kvd", "--no-backup"}).exitCode, 2);
        QCOMPARE(cliIn(data, {"--demo", "info-read", "--radio-id", "X"}).exitCode, 2);
    }

    // A damaged history: set aside with a warning, a new one started, the command as always.
    void damagedHistory() {
        const QString data = freshFolder();
        QVERIFY(QDir().mkpath(data));
        QVERIFY(putFile(data + "/history.sqlite", QByteArray(5000, '#')));
        const Run plain = cli({"--demo", "info-read"});
        const Run r = cliIn(data, {"--demo", "info-read"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, plain.out);
        QCOMPARE(lines(r.err).size(), 1);
        QVERIFY2(r.err.startsWith("Warning: radio history ") && r.err.contains("set aside"), r.err);
        const QStringList aside = QDir(data).entryList({"history.sqlite.damaged-*"});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(fileBytes(data + "/" + aside[0]), QByteArray(5000, '#'));
        QCOMPARE(historyJson(data).size(), 1);
    }

    // A history another program keeps locked: the command waits the busy timeout, warns and
    // ends as it would have; a failure's message stays its last line.
    void lockedHistory() {
        const QString data = freshFolder();
        orv::HistoryDatabase holder(data + "/history.sqlite");
        QVERIFY(holder.open());
        QSqlQuery lock(holder.connection());
        QVERIFY(lock.exec("BEGIN IMMEDIATE"));
        const Run r = cliIn(data, {"--port", "/dev/orvante-missing", "info-read"});
        QCOMPARE(r.exitCode, 1);
        const QStringList err = lines(r.err);
        QCOMPARE(err.size(), 3);
        QVERIFY2(err[1].startsWith("Warning: radio history not written: ") && err[1].contains("locked"),
                 r.err);
        QVERIFY2(err[0].startsWith("/dev/orvante-missing port don't respond"), r.err);
        QCOMPARE(err[2], err[0]);
        QVERIFY(lock.exec("ROLLBACK"));
        QVERIFY(holder.events()->empty());
    }

    // A data folder the user cannot write: one warning first, then the command as always; a
    // failing command still ends with its own message.
    void readOnlyDataFolder() {
        const ReadOnlyInstall install;
        QVERIFY(install.copied);
        if (!install.skipWhy.isEmpty())
            QSKIP(qPrintable(install.skipWhy));
        const QString data = install.root.filePath("data");
        QVERIFY(QDir().mkpath(data));
        QVERIFY(QFile::setPermissions(data, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                QFile::ExeOther));
        const QProcessEnvironment env = withDataFolder(data, install.environment());
        const Run plain = cli({"--demo", "info-read"});
        Run r = runCommand(install.command("orvante-cli") + QStringList{"--demo", "info-read"}, {}, env);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, plain.out);
        QCOMPARE(lines(r.err).size(), 1);
        QVERIFY2(r.err.startsWith("Warning: radio history not kept: "), r.err);

        r = runCommand(install.command("orvante-cli") +
                           QStringList{"--port", "/dev/orvante-missing", "info-read"},
                       {}, env);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.startsWith("Warning: radio history"), r.err);
        QVERIFY2(r.lastErrLine().startsWith("/dev/orvante-missing port don't respond"), r.err);
        QVERIFY(QDir(data).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHistoryCli)
#include "test_history_cli.moc"
