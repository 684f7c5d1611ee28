// The history recorder on an exchange runner against the virtual radio: what a read keeps
// (a backup holding exactly the memory read, an event with its hash), a failed read that
// keeps nothing, a write cancelled at a question, the tune steps, which radio each event
// names, "Keep Backups" off, and a history that cannot be written (a folder that cannot be
// made, a damaged file, a locked file): the exchange's result stays what it was, with one
// warning for the run.

#include "common/RadioBench.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "document/TuneSession.h"
#include "files/DataFile.h"
#include "history/HistoryRecorder.h"
#include "image/RadioInfoText.h"
#include "sim/VirtualRadio.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using Status = ExchangeResult::Status;

namespace {

RadioData radioWithId(const QByteArray& id) {
    RadioData d = sim::demoRadioImage();
    std::fill(d.radioId().begin(), d.radioId().end(), std::uint8_t(0));
    std::copy(id.begin(), id.end(), d.radioId().begin());
    return d;
}

QString sha256Of(const RadioData& d) {
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(d.image.data()), 1024),
                                    QCryptographicHash::Sha256)
        .toHex();
}

// A runner on the virtual radio with a recorder in a data folder of its own.
struct Recorded : test::RadioBench {
    QTemporaryDir data;
    ExchangeRunner runner{link, feedback};
    QStringList warnings;
    std::unique_ptr<HistoryRecorder> recorder;

    explicit Recorded(const RadioData& memory = radioWithId("RADIO-7"), const QStringList& faults = {},
                      int busyTimeoutMs = 200) {
        setFaults(faults);
        radio.setMemory(memory);
        recorder = std::make_unique<HistoryRecorder>(
            HistoryRecorder::Settings{data.path(), true, busyTimeoutMs}, clock);
        recorder->setWarningSink([this](const QString& w) { warnings << w; });
        runner.addObserver(recorder.get());
    }
    QString historyPath() const { return data.filePath(QLatin1String(HistoryFileName)); }
    std::vector<HistoryEvent> events() {
        HistoryDatabase db(historyPath());
        if (!db.open())
            return {};
        return db.events().value_or(std::vector<HistoryEvent>{});
    }
    QStringList backups() const {
        QStringList found;
        QDir root(data.filePath("backups"));
        for (const QString& radio : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QString& f : QDir(root.filePath(radio)).entryList(QDir::Files | QDir::Hidden))
                found << radio + "/" + f;
        return found;
    }
    ExchangeResult write(const RadioData& data, int selectedModel = 7) {
        RadioData sent = data;
        int version = 2;
        return runner.write(sent, version, {selectedModel, test::Title});
    }
};

} // namespace

class TestHistoryRecorder : public QObject {
    Q_OBJECT

  private slots:
    // A read: the backup holds exactly the memory read, the event names the radio, its model,
    // the port, the message, the hash of the 1024 bytes and the backup.
    void readKeepsABackupAndAnEvent() {
        Recorded r;
        ReadResult read;
        const ExchangeResult result = r.runner.read(RadioData{}, &read);
        QVERIFY(result.ok());
        QVERIFY(result.image && *result.image == read.data);
        QCOMPARE(result.radio.radioId, radioIdText(r.radio.memory()));

        QCOMPARE(r.backups(), QStringList{"RADIO-7/20050429-134509-read.kvd"});
        const QString backup = r.recorder->lastBackup();
        QCOMPARE(QFileInfo(backup).absoluteFilePath(),
                 r.data.filePath("backups/RADIO-7/20050429-134509-read.kvd"));
        QCOMPARE(test::fileBytes(backup), serializeDataFile(read.data, false));
        QCOMPARE(readDataFile(backup, RadioData{}).data.image, r.radio.memory().image);

        const std::vector<HistoryEvent> events = r.events();
        QCOMPARE(events.size(), std::size_t(1));
        const HistoryEvent& e = events[0];
        QCOMPARE(e.operation, QStringLiteral("read"));
        QCOMPARE(e.result, QStringLiteral("ok"));
        QCOMPARE(e.radioId, QStringLiteral("RADIO-7"));
        QCOMPARE(e.modelValue, 7);
        QCOMPARE(e.dataVersion, 2);
        QCOMPARE(e.port, QStringLiteral("COM2"));
        QCOMPARE(e.message, QStringLiteral("Read data is complete. Press OK button to continue ..."));
        QCOMPARE(e.sha256, sha256Of(r.radio.memory()));
        QCOMPARE(e.backup, backup);
        QVERIFY(!e.programVersion.isEmpty());
        QCOMPARE(e.time.toString("yyyyMMdd-HHmmss"), QStringLiteral("20050429-134509"));
        QVERIFY(r.warnings.isEmpty());

        // Each read has its own backup.
        QVERIFY(r.runner.read(RadioData{}, nullptr).ok());
        QCOMPARE(r.backups().size(), 2);
        QVERIFY(r.recorder->lastBackup() != backup);
    }

    // A read that fails keeps no backup; its event says how it ended. Keep Backups off keeps
    // none either.
    void failedReadAndBackupsOff() {
        Recorded r(radioWithId("RADIO-7"), {"short-reply-at-block:9"});
        QVERIFY(!r.runner.read(RadioData{}, nullptr).ok());
        QVERIFY(r.backups().isEmpty());
        QVERIFY(r.recorder->lastBackup().isEmpty());
        std::vector<HistoryEvent> events = r.events();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].result, QStringLiteral("failed"));
        QCOMPARE(events[0].message, QStringLiteral("Reading data interrupted. Please read again!"));
        QCOMPARE(events[0].modelValue, 7);
        QCOMPARE(events[0].radioId, QString()); // the ID was never read
        QVERIFY(events[0].sha256.isEmpty() && events[0].backup.isEmpty());

        r.setFaults({});
        r.recorder->setKeepBackups(false);
        QVERIFY(r.runner.read(RadioData{}, nullptr).ok());
        QVERIFY(r.backups().isEmpty());
        events = r.events();
        QCOMPARE(events.size(), std::size_t(2));
        QCOMPARE(events[0].result, QStringLiteral("ok"));
        QVERIFY(events[0].backup.isEmpty());
        QVERIFY(!events[0].sha256.isEmpty());
    }

    // A radio that does not answer: failed, no model, no radio ID.
    void silentRadio() {
        Recorded r(radioWithId("RADIO-7"), {"silent"});
        QVERIFY(!r.runner.readInfo(RadioData{}, nullptr).ok());
        const std::vector<HistoryEvent> events = r.events();
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(events[0].operation, QStringLiteral("info-read"));
        QCOMPARE(events[0].result, QStringLiteral("failed"));
        QCOMPARE(events[0].modelValue, -1);
        QCOMPARE(events[0].radioId, QString());
        QCOMPARE(events[0].message, QStringLiteral("COM2 port don't respond, please check your connection!"));
    }

    // Writes: one cancelled at the question (no hash: nothing went out), one sent. The radio
    // ID is the one read from the radio on that port before, else the one the data carry.
    void writesAndTheirRadio() {
        Recorded r;
        const RadioData file = radioWithId("FILE-ID");
        QCOMPARE(int(r.write(file).status), int(Status::Ok)); // no read before: the data's ID
        r.feedback.answers = {Answer::No};
        QCOMPARE(int(r.write(file, 9).status), int(Status::Cancelled));
        QVERIFY(r.runner.read(RadioData{}, nullptr).ok());
        QVERIFY(r.write(file).ok()); // after the read: the radio's ID

        const std::vector<HistoryEvent> events = r.events();
        QCOMPARE(events.size(), std::size_t(4));
        const HistoryEvent& sent = events[3];
        QCOMPARE(sent.operation, QStringLiteral("write"));
        QCOMPARE(sent.radioId, QStringLiteral("FILE-ID"));
        QCOMPARE(sent.message, QStringLiteral("Write data is complete. Press OK button to continue ..."));
        QCOMPARE(sent.sha256.size(), 64);
        const HistoryEvent& cancelled = events[2];
        QCOMPARE(cancelled.result, QStringLiteral("cancelled"));
        QVERIFY(cancelled.message.startsWith("The selected model is different"));
        QVERIFY(cancelled.sha256.isEmpty());
        QCOMPARE(events[0].radioId, QStringLiteral("RADIO-7"));
        QCOMPARE(events[0].operation, QStringLiteral("write"));
        // The hash is of the bytes as they went out: the radio now holds them in the blocks written.
        const RadioData held = r.radio.memory();
        RadioData expected = file;
        for (int b : writeBlockOrder())
            std::copy_n(held.image.begin() + 8 * b, 8, expected.image.begin() + 8 * b);
        QCOMPARE(events[0].sha256, sha256Of(expected));
    }

    // Tune mode: the stored value and the test-channel write are recorded, with the radio the
    // tune entry met; entering, live values and leaving are not.
    void tuneSteps() {
        Recorded r;
        auto doc = test::makeDocument(test::twoModelCatalog(), r.clock);
        doc->startUp(r.feedback);
        QVERIFY(r.runner.read(RadioData{}, nullptr).ok());
        TuneSession& tune = doc->tuning();
        QVERIFY(tune.enterTuneMode(r.runner));
        tune.chooseItem(2, r.runner);
        QCOMPARE(tune.state(), int(TuneSession::ItemActive));
        tune.moveValue(100, r.runner);
        tune.moveValue(101, r.runner);
        tune.ok(r.runner);
        QVERIFY(doc->toggleTestStep(11, TuneColTxStep));
        QVERIFY(tune.writeTestChannels(r.runner));
        tune.leaveTuneMode(r.runner);

        const std::vector<HistoryEvent> events = r.events();
        QStringList ops;
        for (const HistoryEvent& e : events)
            ops << e.operation + "/" + e.result + "/" + e.radioId + "/" + QString::number(e.modelValue);
        QCOMPARE(ops, (QStringList{"tune-write-channels/ok/RADIO-7/7", "tune-store/ok/RADIO-7/7",
                                   "read/ok/RADIO-7/7"}));
        QCOMPARE(historyOperation(ExchangeKind::TuneValue), QString());
        QCOMPARE(historyOperation(ExchangeKind::TuneStore), QStringLiteral("tune-store"));
    }

    // A history that cannot be written never stops the exchange: the read still gives its
    // data and its backup, and the run gets one warning.
    void historyThatCannotBeWritten_data() {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("folder cannot be made") << "blocked";
        QTest::newRow("damaged file") << "damaged";
        QTest::newRow("locked file") << "locked";
    }
    void historyThatCannotBeWritten() {
        QFETCH(QString, trouble);
        Recorded r;
        std::unique_ptr<HistoryDatabase> holder;
        std::optional<QSqlQuery> lock;
        if (trouble == "blocked") {
            QVERIFY(test::putFile(r.historyPath(), "x"));
            QVERIFY(QFile::remove(r.historyPath()));
            QVERIFY(QDir(r.data.path()).mkdir(HistoryFileName)); // a folder where the file should be
        } else if (trouble == "damaged") {
            QVERIFY(test::putFile(r.historyPath(), QByteArray(3000, 'Z')));
        } else {
            holder = std::make_unique<HistoryDatabase>(r.historyPath());
            QVERIFY(holder->open());
            lock.emplace(holder->connection());
            QVERIFY(lock->exec("BEGIN IMMEDIATE"));
        }
        ReadResult read;
        QVERIFY(r.runner.read(RadioData{}, &read).ok());
        QCOMPARE(read.data.image, r.radio.memory().image);
        QVERIFY(r.runner.readInfo(RadioData{}, nullptr).ok());
        QCOMPARE(r.backups().size(), 1);
        QCOMPARE(r.warnings.size(), 1);
        QVERIFY2(r.warnings[0].startsWith("Warning: radio history "), qPrintable(r.warnings[0]));
        if (trouble == "damaged") {
            QVERIFY2(r.warnings[0].contains("set aside"), qPrintable(r.warnings[0]));
            QCOMPARE(r.events().size(), std::size_t(2));
        } else if (trouble == "locked") {
            QVERIFY2(r.warnings[0].contains("locked"), qPrintable(r.warnings[0]));
            lock.reset();
            holder.reset();
        }
        // The user's messages are the exchanges' own.
        QCOMPARE(r.feedback.texts(), (QStringList{"Read data is complete. Press OK button to continue ...",
                                                  "Reading is complete. Press OK button to continue ..."}));
    }

    // A backup that cannot be written: the read goes on, one warning.
    void backupThatCannotBeWritten() {
        Recorded r;
        QVERIFY(test::putFile(r.data.filePath("backups"), "not a folder"));
        QVERIFY(r.runner.read(RadioData{}, nullptr).ok());
        QVERIFY(r.runner.read(RadioData{}, nullptr).ok());
        QCOMPARE(r.warnings.size(), 1);
        QVERIFY2(r.warnings[0].startsWith("Warning: backup"), qPrintable(r.warnings[0]));
        QCOMPARE(r.events().size(), std::size_t(2));
        QVERIFY(r.events()[0].backup.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHistoryRecorder)
#include "test_history_recorder.moc"
