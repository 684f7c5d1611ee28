#include "history/HistoryDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>
#include <atomic>
#include <functional>

namespace orv {

namespace {

// The schema, one step per version: step n brings a file of version n to version n + 1.
// Version 1 is the first schema; version 2 adds a UTC key for the order of events (the ISO
// texts of version 1 carry offsets, so they do not sort across a change of offset) and the
// indexes that list one radio's events, or all of them, newest first.
const std::vector<std::vector<const char*>>& schemaSteps() {
    static const std::vector<std::vector<const char*>> steps = {
        {
            "CREATE TABLE events ("
            " id INTEGER PRIMARY KEY,"
            " time TEXT NOT NULL,"
            " radio_id TEXT NOT NULL,"
            " model_value INTEGER,"
            " data_version INTEGER,"
            " port TEXT NOT NULL,"
            " operation TEXT NOT NULL,"
            " result TEXT NOT NULL,"
            " message TEXT NOT NULL,"
            " sha256 TEXT,"
            " backup TEXT,"
            " program_version TEXT NOT NULL)",
            "CREATE TABLE radios ("
            " radio_id TEXT PRIMARY KEY,"
            " model_value INTEGER,"
            " first_seen TEXT NOT NULL,"
            " last_seen TEXT NOT NULL)",
        },
        {
            "ALTER TABLE events ADD COLUMN time_ms INTEGER",
            "UPDATE events SET time_ms = CAST(round((julianday(time) - 2440587.5) * 86400000) AS INTEGER)",
            "CREATE INDEX events_by_radio ON events (radio_id, time_ms, id)",
            "CREATE INDEX events_by_time ON events (time_ms, id)",
        },
    };
    return steps;
}

// SQLite's result codes for a file that is not a sound database.
bool damagedCode(const QSqlError& e) {
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("11") || code == QLatin1String("26"); // SQLITE_CORRUPT, SQLITE_NOTADB
}

// SQLITE_BUSY, SQLITE_LOCKED
bool isBusy(const QSqlError& e) {
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6");
}

QString reasonOf(const QSqlError& e) {
    const QString code = e.nativeErrorCode();
    if (isBusy(e))
        return QStringLiteral("it is locked by another program");
    if (code == QLatin1String("13"))
        return QStringLiteral("the disk is full");
    if (code == QLatin1String("8"))
        return QStringLiteral("it is read-only");
    const QString text = e.driverText().isEmpty() ? e.text() : e.databaseText();
    return text.trimmed().isEmpty() ? QStringLiteral("unknown error") : text.trimmed();
}

// An empty or missing file is a new history; anything else must start as SQLite files do.
bool looksLikeDatabase(const QString& path) {
    QFile f(path);
    if (!f.exists() || f.size() == 0)
        return true;
    if (!f.open(QIODevice::ReadOnly))
        return true; // not damaged, only closed to us: SQLite will say so
    return f.read(16) == QByteArray("SQLite format 3", 16);
}

QVariant orNull(int value) {
    return value >= 0 ? QVariant(value) : QVariant(QMetaType(QMetaType::Int));
}
QVariant orNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}
// Qt SQL binds a null QString as NULL: a text column that must hold one gets "".
QVariant notNull(const QString& text) {
    return text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text);
}

const char* const EventColumns =
    "time, radio_id, model_value, data_version, port, operation, result, message, "
    "sha256, backup, program_version";

} // namespace

QString isoTimeWithOffset(const QDateTime& time) {
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

HistoryDatabase::HistoryDatabase(QString path, int busyTimeoutMs)
    : m_path(std::move(path)), m_busyTimeoutMs(busyTimeoutMs), m_thread(QThread::currentThread()) {
    static std::atomic<unsigned> counter{0};
    m_name = QStringLiteral("orvante-history-%1").arg(++counter);
}

HistoryDatabase::~HistoryDatabase() {
    close();
}

void HistoryDatabase::close() {
    Q_ASSERT_X(QThread::currentThread() == m_thread, "HistoryDatabase",
               "used by a thread that did not make it");
    m_open = false;
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool HistoryDatabase::exec(QSqlQuery& query, const QString& sql, const QVariantList& values,
                           const QString& what) {
    // A statement that cannot be prepared keeps the reason in lastError(); exec() would
    // replace it with a vaguer one.
    bool ok = query.prepare(sql);
    for (const QVariant& v : values)
        query.addBindValue(v);
    ok = ok && query.exec();
    if (ok)
        return true;
    m_damaged = damagedCode(query.lastError());
    m_error = QStringLiteral("%1 cannot be %2 (%3)")
                  .arg(QDir::toNativeSeparators(m_path), what, reasonOf(query.lastError()));
    return false;
}

bool HistoryDatabase::exec(const QString& sql) {
    QSqlQuery q(m_db);
    return exec(q, sql, {}, QStringLiteral("written"));
}

bool HistoryDatabase::connect() {
    m_damaged = false;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        m_error = QStringLiteral("the folder %1 cannot be made")
                      .arg(QDir::toNativeSeparators(QFileInfo(m_path).absolutePath()));
        return false;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    if (!m_db.isValid()) {
        m_error = QStringLiteral("Qt's SQLite driver is not installed (Debian package libqt6sql6-sqlite)");
        return false;
    }
    m_db.setDatabaseName(m_path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs));
    if (!m_db.open()) {
        m_error = QStringLiteral("%1 cannot be opened (%2)")
                      .arg(QDir::toNativeSeparators(m_path), reasonOf(m_db.lastError()));
        return false;
    }
    // WAL lets readers and one writer work side by side; NORMAL syncs at checkpoints only,
    // which keeps a committed event through a crash of the program.
    // SQLite answers "busy" at once, without waiting its busy timeout, when another
    // connection holds the file while this one turns a new file to WAL (the ports of a fleet
    // run all open a new history at the same moment): that one is tried again until the
    // timeout.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery wal(m_db);
        if (exec(wal, QStringLiteral("PRAGMA journal_mode = WAL"), {}, QStringLiteral("opened")))
            break;
        if (!isBusy(wal.lastError()) || waited.elapsed() >= m_busyTimeoutMs)
            return false;
        QThread::msleep(10);
    }
    return exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
}

bool HistoryDatabase::upgradeSchema() {
    auto version = [this](int* out) {
        QSqlQuery q(m_db);
        if (!exec(q, QStringLiteral("PRAGMA user_version"), {}, QStringLiteral("read")) || !q.next())
            return false;
        *out = q.value(0).toInt();
        return true;
    };
    int v = 0;
    if (!version(&v))
        return false;
    if (v == SchemaVersion)
        return true;
    if (v > SchemaVersion) {
        m_error =
            QStringLiteral("%1 was made by a newer version of the program; this one does not write to it")
                .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    // Another program may be bringing the same file up to date: the write lock first, then
    // the version again.
    return inWriteTransaction([&] {
        bool ok = version(&v);
        for (; ok && v < SchemaVersion; ++v)
            for (const char* sql : schemaSteps()[std::size_t(v)])
                ok = ok && exec(QString::fromLatin1(sql));
        return ok && exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    });
}

bool HistoryDatabase::inWriteTransaction(const std::function<bool()>& work) {
    // IMMEDIATE takes the write lock at once (waiting the busy timeout for it), so that a
    // transaction never has to turn from reading to writing while another program writes.
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (work() && exec(QStringLiteral("COMMIT")))
        return true;
    const QString why = m_error;
    const bool damaged = m_damaged;
    exec(QStringLiteral("ROLLBACK"));
    m_error = why;
    m_damaged = damaged;
    return false;
}

bool HistoryDatabase::setAside() {
    close();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = m_path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(m_path, aside)) {
        m_error =
            QStringLiteral("%1 is damaged and cannot be set aside").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    // The journal files belong to the damaged file: a new history must not take them up.
    for (const char* suffix : {"-wal", "-shm"})
        if (QFile::exists(m_path + QLatin1String(suffix)))
            QFile::rename(m_path + QLatin1String(suffix), aside + QLatin1String(suffix));
    m_setAside = aside;
    return true;
}

bool HistoryDatabase::reopenFresh() {
    m_open = setAside() && connect() && upgradeSchema();
    return m_open;
}

bool HistoryDatabase::open() {
    Q_ASSERT_X(QThread::currentThread() == m_thread, "HistoryDatabase",
               "used by a thread that did not make it");
    close();
    m_setAside.clear();
    // Set aside before SQLite looks at it, journal files and all.
    if (!looksLikeDatabase(m_path) && !setAside())
        return false;
    m_open = connect() && upgradeSchema();
    if (m_open)
        return true;
    const bool damaged = m_damaged;
    close();
    return damaged && reopenFresh();
}

bool HistoryDatabase::insert(const HistoryEvent& e) {
    return inWriteTransaction([&] { return insertRows(e); });
}

bool HistoryDatabase::insertRows(const HistoryEvent& e) {
    const QString time = isoTimeWithOffset(e.time);
    QSqlQuery q(m_db);
    bool ok =
        exec(q,
             QStringLiteral("INSERT INTO events (%1, time_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                 .arg(QLatin1String(EventColumns)),
             {notNull(time), notNull(e.radioId), orNull(e.modelValue), orNull(e.dataVersion), notNull(e.port),
              notNull(e.operation), notNull(e.result), notNull(e.message), orNull(e.sha256), orNull(e.backup),
              notNull(e.programVersion), QVariant(e.time.toMSecsSinceEpoch())},
             QStringLiteral("written"));
    // A radio that answered, or whose ID is known, has its row.
    if (ok && (e.modelValue >= 0 || !e.radioId.isEmpty())) {
        QSqlQuery r(m_db);
        ok = exec(r,
                  QStringLiteral(
                      "INSERT INTO radios (radio_id, model_value, first_seen, last_seen) VALUES (?, ?, ?, ?) "
                      "ON CONFLICT (radio_id) DO UPDATE SET "
                      "model_value = coalesce(excluded.model_value, model_value), "
                      "last_seen = excluded.last_seen"),
                  {notNull(e.radioId), orNull(e.modelValue), notNull(time), notNull(time)},
                  QStringLiteral("written"));
    }
    return ok;
}

bool HistoryDatabase::add(const HistoryEvent& event) {
    Q_ASSERT_X(QThread::currentThread() == m_thread, "HistoryDatabase",
               "used by a thread that did not make it");
    if (!m_open && !open())
        return false;
    if (insert(event))
        return true;
    return m_damaged && reopenFresh() && insert(event);
}

QSqlQuery HistoryDatabase::eventsQuery(const std::optional<QString>& radioId, bool forwardOnly) {
    QSqlQuery q(m_db);
    q.setForwardOnly(forwardOnly);
    exec(q,
         QStringLiteral("SELECT %1 FROM events %2 ORDER BY time_ms DESC, id DESC")
             .arg(QLatin1String(EventColumns), radioId ? QStringLiteral("WHERE radio_id = ?") : QString()),
         radioId ? QVariantList{*radioId} : QVariantList{}, QStringLiteral("read"));
    return q;
}

QSqlQuery HistoryDatabase::radiosQuery(bool forwardOnly) {
    QSqlQuery q(m_db);
    q.setForwardOnly(forwardOnly);
    exec(q,
         QStringLiteral("SELECT radio_id, model_value, first_seen, last_seen, "
                        "(SELECT count(*) FROM events WHERE events.radio_id = radios.radio_id) AS events "
                        "FROM radios ORDER BY radio_id"),
         {}, QStringLiteral("read"));
    return q;
}

HistoryEvent HistoryDatabase::eventFrom(const QSqlRecord& row) {
    auto number = [&row](int column) { return row.isNull(column) ? -1 : row.value(column).toInt(); };
    auto text = [&row](int column) { return row.value(column).toString(); };
    return {QDateTime::fromString(text(0), Qt::ISODate), text(1), number(2), number(3), text(4), text(5),
            text(6), text(7), text(8), text(9), text(10)};
}

std::optional<std::vector<HistoryEvent>> HistoryDatabase::events(const std::optional<QString>& radioId) {
    std::vector<HistoryEvent> out;
    QSqlQuery q = eventsQuery(radioId, true);
    if (!q.isActive())
        return std::nullopt;
    while (q.next())
        out.push_back(eventFrom(q.record()));
    return out;
}

std::optional<QSet<QString>> HistoryDatabase::radiosWithEventsHolding(const QString& text) {
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    const QString lower = text.toLower();
    if (!exec(q,
              QStringLiteral("SELECT DISTINCT radio_id FROM events WHERE instr(lower(radio_id), ?) > 0 "
                             "OR instr(lower(message), ?) > 0 OR instr(lower(operation), ?) > 0"),
              {lower, lower, lower}, QStringLiteral("read")))
        return std::nullopt;
    QSet<QString> out;
    while (q.next())
        out.insert(q.value(0).toString());
    return out;
}

std::optional<std::vector<RadioSummary>> HistoryDatabase::radios() {
    std::vector<RadioSummary> out;
    QSqlQuery q = radiosQuery(true);
    if (!q.isActive())
        return std::nullopt;
    while (q.next())
        out.push_back({q.value(0).toString(), q.isNull(1) ? -1 : q.value(1).toInt(), q.value(2).toString(),
                       q.value(3).toString(), q.value(4).toInt()});
    return out;
}

} // namespace orv
