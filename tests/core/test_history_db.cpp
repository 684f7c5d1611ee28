// The radio history database: its schema and the step from the first schema, events listed
// newest first and per radio, the radios table, a damaged file set aside (whole, or damaged
// inside), a locked file, a file from a newer program, a folder that cannot be made, two
// threads recording at once, and the Qt SQL models with their search.

#include "common/TestFiles.h"
#include "history/HistoryDatabase.h"
#include "history/HistoryModels.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>
#include <thread>

using namespace orv;
using orv::test::fileBytes;
using orv::test::putFile;

namespace {

QDateTime at(const QString& iso) {
    return QDateTime::fromString(iso, Qt::ISODate);
}

HistoryEvent makeEvent(const QString& radio, const QString& operation, const QString& time, int model = 7) {
    HistoryEvent e;
    e.time = at(time);
    e.radioId = radio;
    e.modelValue = model;
    e.dataVersion = model >= 0 ? 2 : -1;
    e.port = QStringLiteral("COM3");
    e.operation = operation;
    e.result = QStringLiteral("ok");
    e.message = operation + QStringLiteral(" done");
    e.programVersion = QStringLiteral("0.1.0");
    return e;
}

QStringList operations(const std::vector<HistoryEvent>& events) {
    QStringList ops;
    for (const HistoryEvent& e : events)
        ops << e.radioId + QLatin1Char(':') + e.operation;
    return ops;
}

// A plain connection of the test's own to look into (or prepare) a history file.
struct RawConnection {
    QString name;
    QSqlDatabase db;
    explicit RawConnection(const QString& path, const QString& connectionName = QStringLiteral("raw"))
        : name(connectionName) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
        QVERIFY(db.open());
    }
    ~RawConnection() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
    QVariant value(const QString& sql) {
        QSqlQuery q(db);
        if (!q.exec(sql) || !q.next())
            return QVariant();
        return q.value(0);
    }
    bool exec(const QString& sql) {
        QSqlQuery q(db);
        const bool ok = q.exec(sql);
        if (!ok)
            qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return ok;
    }
};

} // namespace

class TestHistoryDb : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    int m_files = 0;
    QString freshPath() { return m_dir.filePath(QStringLiteral("h%1/history.sqlite").arg(++m_files)); }

  private slots:
    // A new file: the current schema, WAL, and the indexes that list a radio's events.
    void newHistory() {
        const QString path = freshPath();
        {
            HistoryDatabase db(path);
            QVERIFY2(db.open(), qPrintable(db.error()));
            QVERIFY(db.events()->empty());
            QVERIFY(db.radios()->empty());
        }
        RawConnection raw(path);
        QCOMPARE(raw.value("PRAGMA user_version").toInt(), HistoryDatabase::SchemaVersion);
        QCOMPARE(raw.value("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
        const QString plan =
            raw.value("EXPLAIN QUERY PLAN SELECT * FROM events WHERE radio_id = 'X' ORDER BY time_ms DESC")
                .toString();
        QSqlQuery q(raw.db);
        QVERIFY(q.exec(
            "EXPLAIN QUERY PLAN SELECT * FROM events WHERE radio_id = 'X' ORDER BY time_ms DESC, id DESC"));
        QString detail;
        while (q.next())
            detail += q.value(3).toString() + QLatin1Char(';');
        QVERIFY2(detail.contains("events_by_radio") && !detail.contains("TEMP B-TREE"), qPrintable(detail));
    }

    // Events newest first by the moment they happened (not by their text: the offsets differ
    // across the change back from summer time), per radio, and the radios with their counts.
    void eventsAndRadios() {
        HistoryDatabase db(freshPath());
        QVERIFY(db.open());
        QVERIFY(db.add(makeEvent("A", "read", "2025-10-26T02:50:00+02:00")));
        QVERIFY(db.add(makeEvent("B", "write", "2025-10-26T02:20:00+01:00")));
        QVERIFY(db.add(makeEvent("A", "write", "2025-10-26T02:10:00+01:00")));
        HistoryEvent silent = makeEvent("", "read", "2025-10-26T01:00:00+02:00", -1);
        silent.result = "failed";
        QVERIFY(db.add(silent));
        HistoryEvent hashed = makeEvent("A", "verify", "2025-10-27T09:00:00+01:00");
        hashed.sha256 = QString(64, QLatin1Char('a'));
        hashed.backup = "/data/backups/A/x.kvd";
        QVERIFY(db.add(hashed));

        QCOMPARE(operations(*db.events()),
                 (QStringList{"A:verify", "B:write", "A:write", "A:read", ":read"}));
        const std::vector<HistoryEvent> a = *db.events(QStringLiteral("A"));
        QCOMPARE(operations(a), (QStringList{"A:verify", "A:write", "A:read"}));
        QCOMPARE(a[0], hashed);
        QCOMPARE(isoTimeWithOffset(a[2].time), QStringLiteral("2025-10-26T02:50:00+02:00"));
        const std::vector<HistoryEvent> none = *db.events(QString(""));
        QCOMPARE(none.size(), std::size_t(1));
        QCOMPARE(none[0].modelValue, -1);
        QCOMPARE(none[0].dataVersion, -1);
        QVERIFY(none[0].sha256.isEmpty() && none[0].backup.isEmpty());

        // A radio that did not answer and named no ID has no row.
        const std::vector<RadioSummary> radios = *db.radios();
        QCOMPARE(radios.size(), std::size_t(2));
        QCOMPARE(radios[0].radioId, QStringLiteral("A"));
        QCOMPARE(radios[0].events, 3);
        QCOMPARE(radios[0].modelValue, 7);
        QCOMPARE(radios[0].firstSeen, QStringLiteral("2025-10-26T02:50:00+02:00"));
        QCOMPARE(radios[0].lastSeen, QStringLiteral("2025-10-27T09:00:00+01:00"));
        QCOMPARE(radios[1].events, 1);
    }

    // A file of the first schema comes up to the current one with its events and radios, in
    // the right order, and takes new events.
    void migrationFromTheFirstSchema() {
        const QString path = freshPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        {
            RawConnection v1(path, "v1");
            for (const char* sql :
                 {"CREATE TABLE events (id INTEGER PRIMARY KEY, time TEXT NOT NULL, radio_id TEXT NOT NULL, "
                  "model_value INTEGER, data_version INTEGER, port TEXT NOT NULL, operation TEXT NOT NULL, "
                  "result TEXT NOT NULL, message TEXT NOT NULL, sha256 TEXT, backup TEXT, "
                  "program_version TEXT NOT NULL)",
                  "CREATE TABLE radios (radio_id TEXT PRIMARY KEY, model_value INTEGER, first_seen TEXT NOT "
                  "NULL, "
                  "last_seen TEXT NOT NULL)",
                  "INSERT INTO events VALUES (1, '2025-10-26T02:50:00+02:00', 'OLD', 7, 2, 'COM1', 'read', "
                  "'ok', "
                  "'Read data is complete.', NULL, '/b/OLD/1.kvd', '0.0.9')",
                  "INSERT INTO events VALUES (2, '2025-10-26T02:10:00+01:00', 'OLD', 7, 2, 'COM1', 'write', "
                  "'failed', 'Writing data interrupted.', 'ab', NULL, '0.0.9')",
                  "INSERT INTO radios VALUES ('OLD', 7, '2025-10-26T02:50:00+02:00', "
                  "'2025-10-26T02:10:00+01:00')",
                  "PRAGMA user_version = 1"})
                QVERIFY(v1.exec(sql));
        }
        HistoryDatabase db(path);
        QVERIFY2(db.open(), qPrintable(db.error()));
        QVERIFY(db.add(makeEvent("OLD", "info-read", "2025-10-26T03:00:00+01:00")));
        const std::vector<HistoryEvent> events = *db.events(QStringLiteral("OLD"));
        QCOMPARE(operations(events), (QStringList{"OLD:info-read", "OLD:write", "OLD:read"}));
        QCOMPARE(events[1].message, QStringLiteral("Writing data interrupted."));
        QCOMPARE(events[1].sha256, QStringLiteral("ab"));
        QCOMPARE(events[2].backup, QStringLiteral("/b/OLD/1.kvd"));
        QCOMPARE(events[2].programVersion, QStringLiteral("0.0.9"));
        QCOMPARE(db.radios()->front().events, 3);
        QCOMPARE(db.radios()->front().firstSeen, QStringLiteral("2025-10-26T02:50:00+02:00"));
        db.close();
        RawConnection raw(path);
        QCOMPARE(raw.value("PRAGMA user_version").toInt(), HistoryDatabase::SchemaVersion);
    }

    // A file that is not a database is renamed, never written over, with its journal; a new
    // history starts in its place.
    void damagedFileIsSetAside() {
        const QString path = freshPath();
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        const QByteArray garbage = QByteArray("this is not a database ").repeated(200);
        QVERIFY(putFile(path, garbage));
        QVERIFY(putFile(path + "-wal", "stale journal"));
        HistoryDatabase db(path);
        QVERIFY2(db.open(), qPrintable(db.error()));
        const QString aside = db.setAsidePath();
        QVERIFY2(QFileInfo(aside).fileName().startsWith("history.sqlite.damaged-"), qPrintable(aside));
        QCOMPARE(fileBytes(aside), garbage);
        QCOMPARE(fileBytes(aside + "-wal"), QByteArray("stale journal"));
        QVERIFY(db.add(makeEvent("A", "read", "2025-01-01T10:00:00+01:00")));
        QCOMPARE(db.events()->size(), std::size_t(1));
    }

    // A file whose header is sound but whose tables are damaged is found out when an event
    // is added: set aside, and the event recorded in a new file.
    void damagedInsideIsSetAsideOnWrite() {
        const QString path = freshPath();
        {
            HistoryDatabase db(path);
            QVERIFY(db.open());
            for (int i = 0; i < 200; ++i)
                QVERIFY(
                    db.add(makeEvent(QStringLiteral("R%1").arg(i % 7), "read", "2025-01-01T10:00:00+01:00")));
        }
        QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.size() > 3 * 4096);
        for (qsizetype i = 4096 + 100; i < bytes.size(); ++i)
            bytes[i] = char(0xA5);
        QVERIFY(putFile(path, bytes));

        HistoryDatabase db(path);
        const bool opened = db.open();
        QVERIFY2(db.add(makeEvent("NEW", "write", "2025-01-02T10:00:00+01:00")), qPrintable(db.error()));
        QVERIFY2(!db.setAsidePath().isEmpty(), opened ? "opened, add did not set it aside" : "open failed");
        QCOMPARE(fileBytes(db.setAsidePath()), bytes);
        QCOMPARE(operations(*db.events()), QStringList{"NEW:write"});
    }

    // Another program holding the write lock: the add waits the busy timeout, then fails
    // saying so; once the lock is gone it works.
    void lockedFile() {
        const QString path = freshPath();
        HistoryDatabase holder(path);
        QVERIFY(holder.open());
        QSqlQuery lock(holder.connection());
        QVERIFY(lock.exec("BEGIN IMMEDIATE"));

        HistoryDatabase db(path, 200);
        QVERIFY2(db.open(), qPrintable(db.error()));
        QElapsedTimer t;
        t.start();
        QVERIFY(!db.add(makeEvent("A", "read", "2025-01-01T10:00:00+01:00")));
        QVERIFY2(t.elapsed() >= 150 && t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(db.error().contains("locked by another program"), qPrintable(db.error()));
        QVERIFY(db.setAsidePath().isEmpty());

        QVERIFY(lock.exec("ROLLBACK"));
        QVERIFY(db.add(makeEvent("A", "read", "2025-01-01T10:00:00+01:00")));
        QCOMPARE(holder.events()->size(), std::size_t(1));
    }

    // A file from a newer program is not written; a folder that cannot be made is said.
    void unusableHistory() {
        const QString path = freshPath();
        {
            HistoryDatabase db(path);
            QVERIFY(db.open());
        }
        {
            RawConnection raw(path);
            QVERIFY(raw.exec("PRAGMA user_version = 99"));
        }
        HistoryDatabase newer(path);
        QVERIFY(!newer.open());
        QVERIFY2(newer.error().contains("newer version"), qPrintable(newer.error()));
        QVERIFY(!newer.add(makeEvent("A", "read", "2025-01-01T10:00:00+01:00")));
        QVERIFY(newer.setAsidePath().isEmpty());
        {
            RawConnection raw(path);
            QCOMPARE(raw.value("PRAGMA user_version").toInt(), 99);
            QCOMPARE(raw.value("SELECT count(*) FROM events").toInt(), 0);
        }

        QVERIFY(putFile(m_dir.filePath("plain-file"), "x"));
        HistoryDatabase blocked(m_dir.filePath("plain-file/history.sqlite"));
        QVERIFY(!blocked.open());
        QVERIFY2(blocked.error().contains("cannot be made"), qPrintable(blocked.error()));
    }

    // Two threads, each with its own connection, record at the same time: nothing is lost.
    void twoThreadsRecordAtOnce() {
        const QString path = freshPath();
        {
            HistoryDatabase db(path);
            QVERIFY(db.open());
        }
        constexpr int PerThread = 150;
        std::atomic<int> written{0};
        auto worker = [&](const QString& radio) {
            HistoryDatabase db(path);
            if (!db.open())
                return;
            for (int i = 0; i < PerThread; ++i)
                if (db.add(makeEvent(radio, "write", "2025-01-01T10:00:00+01:00")))
                    ++written;
        };
        std::thread a(worker, QStringLiteral("A"));
        std::thread b(worker, QStringLiteral("B"));
        a.join();
        b.join();
        QCOMPARE(written.load(), 2 * PerThread);
        HistoryDatabase db(path);
        QVERIFY(db.open());
        QCOMPARE(db.events()->size(), std::size_t(2 * PerThread));
        QCOMPARE(db.radios()->size(), std::size_t(2));
    }

    // Several connections make a history that does not exist yet, at the same moment (the
    // ports of a fleet run do): each one opens it, and no event is lost.
    void severalConnectionsMakeANewHistoryAtOnce() {
        constexpr int Threads = 4;
        for (int round = 0; round < 25; ++round) {
            const QString path = m_dir.filePath(QStringLiteral("race-%1/history.sqlite").arg(round));
            std::atomic<int> opened{0};
            std::atomic<int> ready{0};
            QStringList errors;
            std::mutex errorsLock;
            auto worker = [&](int i) {
                HistoryDatabase db(path);
                for (++ready; ready < Threads;) {
                }
                if (!db.open()) {
                    const std::lock_guard lock(errorsLock);
                    errors << db.error();
                    return;
                }
                if (db.add(makeEvent(QStringLiteral("R%1").arg(i), "read", "2025-01-01T10:00:00+01:00")))
                    ++opened;
            };
            std::vector<std::thread> threads;
            for (int i = 0; i < Threads; ++i)
                threads.emplace_back(worker, i);
            for (std::thread& t : threads)
                t.join();
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
            QCOMPARE(opened.load(), Threads);
        }
    }

    // The dialog's models: radios with their counts, events, and the search over radio ID,
    // message and operation in any letter case.
    void modelsAndSearch() {
        HistoryDatabase db(freshPath());
        QVERIFY(db.open());
        QVERIFY(db.add(makeEvent("ALPHA-1", "read", "2025-01-01T10:00:00+01:00")));
        QVERIFY(db.add(makeEvent("ALPHA-1", "info-write", "2025-01-01T11:00:00+01:00")));
        QVERIFY(db.add(makeEvent("BRAVO-2", "write", "2025-01-01T12:00:00+01:00")));

        HistoryRadiosModel radios;
        QVERIFY(radios.load(db));
        QCOMPARE(radios.rowCount(), 2);
        QCOMPARE(radios.index(0, HistoryRadiosModel::Events).data().toInt(), 2);
        QCOMPARE(radios.headerData(HistoryRadiosModel::LastSeen, Qt::Horizontal).toString(),
                 QStringLiteral("Last Seen"));

        HistoryEventsModel events;
        QVERIFY(events.load(db));
        QCOMPARE(events.rowCount(), 3);
        QCOMPARE(events.index(0, HistoryEventsModel::RadioId).data().toString(), QStringLiteral("BRAVO-2"));
        HistorySearchProxy search;
        search.setSourceModel(&events);
        search.setSearchText("alpha");
        QCOMPARE(search.rowCount(), 2);
        search.setSearchText("INFO-");
        QCOMPARE(search.rowCount(), 1);
        search.setSearchText("write done");
        QCOMPARE(search.rowCount(), 2);
        search.setSearchText("");
        QCOMPARE(search.rowCount(), 3);
        QVERIFY(events.load(db, QStringLiteral("BRAVO-2")));
        QCOMPARE(search.rowCount(), 1);

        // A row as the history lists it; the radios whose events hold a text, as the search
        // finds it (the dialog's radio list follows them).
        QCOMPARE(events.event(0), db.events(QStringLiteral("BRAVO-2"))->front());
        QCOMPARE(db.radiosWithEventsHolding("WRITE"), (QSet<QString>{"ALPHA-1", "BRAVO-2"}));
        QCOMPARE(db.radiosWithEventsHolding("bravo"), QSet<QString>{"BRAVO-2"});
        QCOMPARE(db.radiosWithEventsHolding("read done"), QSet<QString>{"ALPHA-1"});
        QCOMPARE(db.radiosWithEventsHolding("%"), QSet<QString>{});
    }
};

QTEST_GUILESS_MAIN(TestHistoryDb)
#include "test_history_db.moc"
