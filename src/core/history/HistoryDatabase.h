#pragma once
// The radio history: a SQLite database (Qt SQL's QSQLITE driver) in the data folder.
//
//  - Tables: `events` (one row per recorded exchange) and `radios` (each radio ID with its
//    model, first seen and last seen).
//  - The schema version is PRAGMA user_version; open() brings a file of any earlier version up
//    to SchemaVersion, step by step from the first one, in one transaction. A file of a newer
//    version is left alone.
//  - WAL journal and a busy timeout, so that the window and a command line run (or several
//    worker threads, each with its own connection) can record at the same time.
//  - A damaged file is never written over: it is renamed with a time suffix
//    ("history.sqlite.damaged-20250301-100000", its -wal and -shm with it) and a new history
//    is started.
//
// Threads: a HistoryDatabase is one QSqlDatabase connection, with a name of its own, and
// belongs to the thread that made it: only that thread may use it (and the Qt SQL models put
// on it) or destroy it. Another thread makes its own HistoryDatabase on the same file.

#include "history/HistoryEvent.h"

#include <QSqlDatabase>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QThread;

namespace orv {

inline constexpr char HistoryFileName[] = "history.sqlite";

struct RadioSummary {
    QString radioId;
    int modelValue = -1;
    QString firstSeen; // ISO 8601 with offset
    QString lastSeen;
    int events = 0;
};

class HistoryDatabase {
  public:
    static constexpr int SchemaVersion = 2;
    static constexpr int DefaultBusyTimeoutMs = 5000;

    explicit HistoryDatabase(QString path, int busyTimeoutMs = DefaultBusyTimeoutMs);
    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    const QString& path() const { return m_path; }

    // Opens the file (making it and its folder when missing), sets a damaged one aside and
    // brings the schema up to date. False, with error(), when the history cannot be used.
    bool open();
    bool isOpen() const { return m_open; }
    void close();
    // Why the last open() or add() failed, for the user.
    const QString& error() const { return m_error; }
    // Where open() or add() set a damaged file aside ("" when it did not).
    const QString& setAsidePath() const { return m_setAside; }

    // Records one event and updates its radio's row, in one transaction. A damaged file is set
    // aside and the event recorded in a new one. False, with error(), when it cannot be
    // written.
    bool add(const HistoryEvent& event);

    // The events, newest first; only those of `radioId` when given. Nothing, with error(), when
    // the history cannot be read.
    std::optional<std::vector<HistoryEvent>> events(const std::optional<QString>& radioId = std::nullopt);
    // Every radio, by radio ID, with its count of events.
    std::optional<std::vector<RadioSummary>> radios();
    // The radio IDs of the events whose radio ID, message or operation hold `text` (in any
    // letter case of the ASCII letters), as HistorySearchProxy finds them; nothing, with
    // error(), when the history cannot be read.
    std::optional<QSet<QString>> radiosWithEventsHolding(const QString& text);

    // The executed queries behind events() and radios(), for Qt's SQL models on this
    // connection's thread (which need them not forward-only). Their columns: time, radio_id,
    // model_value, data_version, port, operation, result, message, sha256, backup,
    // program_version; and radio_id, model_value, first_seen, last_seen, events.
    QSqlQuery eventsQuery(const std::optional<QString>& radioId, bool forwardOnly);
    QSqlQuery radiosQuery(bool forwardOnly);
    QSqlDatabase connection() const { return m_db; }
    // One row of eventsQuery() as an event.
    static HistoryEvent eventFrom(const QSqlRecord& row);

  private:
    bool connect();
    bool upgradeSchema();
    bool insert(const HistoryEvent& event);
    bool insertRows(const HistoryEvent& event);
    // BEGIN IMMEDIATE, the work, COMMIT; a ROLLBACK that keeps the first failure's reason.
    bool inWriteTransaction(const std::function<bool()>& work);
    bool exec(QSqlQuery& query, const QString& sql, const QVariantList& values, const QString& what);
    bool exec(const QString& sql);
    bool setAside();
    bool reopenFresh();

    QString m_path;
    int m_busyTimeoutMs;
    QString m_name; // the connection's own name
    QThread* m_thread;
    QSqlDatabase m_db;
    bool m_open = false;
    bool m_damaged = false; // the last failure said the file is not a sound database
    QString m_error;
    QString m_setAside;
};

} // namespace orv
