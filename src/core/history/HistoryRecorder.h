#pragma once
// The radio history and the automatic backups, recorded from an exchange runner: add a
// HistoryRecorder as an observer of the runner, and every exchange it runs is recorded as
// it ends - read, write, verify, info-read, info-write, tune-store and tune-write-channels,
// ok, failed or cancelled alike - and every read that succeeded is kept as a backup first.
// The other tune steps (entering tune mode, an item, its live values, Cancel, leaving) change
// nothing in the radio's memory and are not recorded; what they learn of the radio is.
//
// The history never stops a radio command: when the database cannot be opened or written, or
// a backup cannot be written, the exchange's result is what it was, and the warning sink is
// told once per run (the first trouble; the data folder is usually the cause of the rest).
//
// Which radio an event names:
//  - a read (or verify, information read) that succeeded: the ID it read;
//  - otherwise the ID this recorder last read from a radio on the same port, while the radio
//    answering there reports the same model code and data version (the window's Read, then
//    Write, or Tune and a stored value);
//  - a write without such a read: the ID the data sent carry at 0x3E0 (the write does not
//    send that block: it is the ID of the radio the data came from, a backup's own radio);
//  - else none ("").
// The tune steps that have no handshake of their own take the model and data version of the
// radio last identified on their port.
//
// A recorder, like the runner it observes, belongs to one thread (see HistoryDatabase).

#include "Clock.h"
#include "exchange/ExchangeRunner.h"
#include "history/BackupStore.h"
#include "history/HistoryDatabase.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace orv {

// The history's name of an exchange ("read", ..., "tune-write-channels"), or "" for the
// exchanges that are not recorded.
QString historyOperation(ExchangeKind kind);

class HistoryRecorder : public ExchangeObserver {
  public:
    struct Settings {
        QString dataFolder;
        bool keepBackups = true;
        int busyTimeoutMs = HistoryDatabase::DefaultBusyTimeoutMs;
    };
    HistoryRecorder(Settings settings, Clock& clock);
    // The data folder and "Keep Backups" of the program whose INI is `programIni`.
    static Settings settingsFor(const QString& programIni);
    ~HistoryRecorder() override;

    using WarningSink = std::function<void(const QString& warning)>;
    // Each warning is one sentence beginning "Warning: radio history" or "Warning: backup".
    void setWarningSink(WarningSink sink) { m_warn = std::move(sink); }
    // Told after each event is in the history (the window's history dialog shows it).
    void setRecordedSink(std::function<void(const HistoryEvent&)> sink) { m_recorded = std::move(sink); }

    const QString& dataFolder() const { return m_settings.dataFolder; }
    bool keepBackups() const { return m_settings.keepBackups; }
    void setKeepBackups(bool keep) { m_settings.keepBackups = keep; }
    // The backup of the last read, "" when it kept none.
    const QString& lastBackup() const { return m_lastBackup; }
    // The history on this recorder's connection (opened on first use; nullptr when it cannot
    // be used), for the window's history dialog on the same thread.
    HistoryDatabase* database();
    // Why database() gave nothing ("" before it was tried, or when it can be used).
    QString databaseError() const;
    // Whether the run's one warning has gone to the sink.
    bool hasWarned() const { return m_warned; }

    void exchangeStarted(ExchangeKind kind, const QString& port) override;
    void exchangeFinished(const ExchangeResult& result) override;

  private:
    struct KnownRadio {
        int modelCode = -1;
        int dataVersion = -1;
        QString radioId; // raw 16 characters; empty when no read brought it
    };
    HistoryEvent eventFor(const ExchangeResult& result);
    QString keepBackup(const ExchangeResult& result, const QDateTime& when);
    void warn(const QString& text);
    void warnSetAside();

    Settings m_settings;
    Clock& m_clock;
    BackupStore m_backups;
    std::unique_ptr<HistoryDatabase> m_db;
    bool m_dbFailed = false; // open() failed: not tried again this run
    bool m_warned = false;   // one warning a run
    WarningSink m_warn;
    std::function<void(const HistoryEvent&)> m_recorded;
    QString m_lastBackup;
    QHash<QString, KnownRadio> m_byPort;
};

} // namespace orv
