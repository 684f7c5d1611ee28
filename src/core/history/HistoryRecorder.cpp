#include "history/HistoryRecorder.h"

#include "history/DataFolder.h"
#include "history/RadioIdNames.h"
#include "image/RadioInfoText.h"

#include <QCryptographicHash>
#include <QDir>

namespace orv {

namespace {

// The tune steps that run inside tune mode, on the port the tune entry left open.
bool insideTuneMode(ExchangeKind kind) {
    switch (kind) {
    case ExchangeKind::TuneItem:
    case ExchangeKind::TuneValue:
    case ExchangeKind::TuneStore:
    case ExchangeKind::TuneCancel:
    case ExchangeKind::TuneLeave:
        return true;
    default:
        return false;
    }
}

QString resultName(ExchangeResult::Status status) {
    switch (status) {
    case ExchangeResult::Status::Ok:
        return QStringLiteral("ok");
    case ExchangeResult::Status::Failed:
        return QStringLiteral("failed");
    case ExchangeResult::Status::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QString();
}

QString sha256Hex(const RadioData& data) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data.image.data()),
                               qsizetype(data.image.size()));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

QString historyOperation(ExchangeKind kind) {
    // The names are the runner's own; the list is the history's.
    static const QStringList recorded{
        "read", "write", "verify", "info-read", "info-write", "tune-store", "tune-write-channels"};
    const QString name = exchangeKindName(kind);
    return recorded.contains(name) ? name : QString();
}

HistoryRecorder::HistoryRecorder(Settings settings, Clock& clock)
    : m_settings(std::move(settings)), m_clock(clock), m_backups(m_settings.dataFolder) {}

HistoryRecorder::~HistoryRecorder() = default;

HistoryRecorder::Settings HistoryRecorder::settingsFor(const QString& programIni) {
    Settings s;
    s.dataFolder = orv::dataFolder(programIni);
    s.keepBackups = orv::keepBackups(programIni);
    return s;
}

void HistoryRecorder::warn(const QString& text) {
    if (m_warned)
        return;
    m_warned = true;
    if (m_warn)
        m_warn(text);
}

void HistoryRecorder::warnSetAside() {
    warn(QStringLiteral("Warning: radio history %1 was damaged; it was set aside as %2 and a new "
                        "history was started.")
             .arg(QDir::toNativeSeparators(m_db->path()), QDir::toNativeSeparators(m_db->setAsidePath())));
}

QString HistoryRecorder::databaseError() const { return m_dbFailed && m_db ? m_db->error() : QString(); }

HistoryDatabase* HistoryRecorder::database() {
    if (m_db && m_db->isOpen())
        return m_db.get();
    if (m_dbFailed)
        return nullptr;
    if (!m_db)
        m_db = std::make_unique<HistoryDatabase>(
            QDir(m_settings.dataFolder).filePath(QLatin1String(HistoryFileName)), m_settings.busyTimeoutMs);
    if (!m_db->open()) {
        m_dbFailed = true;
        warn(QStringLiteral("Warning: radio history not kept: %1. The radio commands go on without it.")
                 .arg(m_db->error()));
        return nullptr;
    }
    if (!m_db->setAsidePath().isEmpty())
        warnSetAside();
    return m_db.get();
}

void HistoryRecorder::exchangeStarted(ExchangeKind kind, const QString&) {
    if (kind == ExchangeKind::Read)
        m_lastBackup.clear();
    // Opened before the exchange shows anything, so that a warning comes before its messages.
    if (!historyOperation(kind).isEmpty())
        database();
}

QString HistoryRecorder::keepBackup(const ExchangeResult& result, const QDateTime& when) {
    QString why;
    const std::optional<QString> path = m_backups.keep(*result.image, radioIdText(*result.image), when, &why);
    if (!path) {
        warn(QStringLiteral("Warning: backup of the read not kept: %1.").arg(why));
        return QString();
    }
    m_backups.prune(when);
    return *path;
}

HistoryEvent HistoryRecorder::eventFor(const ExchangeResult& result) {
    HistoryEvent e;
    e.time = m_clock.localDateTime();
    e.time = e.time.toOffsetFromUtc(e.time.offsetFromUtc());
    e.port = result.port;
    e.operation = historyOperation(result.kind);
    e.result = resultName(result.status);
    e.message = result.message;
    e.programVersion = QStringLiteral(ORVANTE_VERSION);

    const RadioIdentity& radio = result.radio;
    KnownRadio& known = m_byPort[result.port];
    const bool answered = radio.modelCode >= 0;
    if (answered) {
        const bool sameRadio = radio.modelCode == known.modelCode && radio.dataVersion == known.dataVersion;
        if (!radio.radioId.isEmpty())
            known = {radio.modelCode, radio.dataVersion, radio.radioId};
        else if (!sameRadio)
            known = {radio.modelCode, radio.dataVersion, QString()};
    }
    const bool sameSession = answered || insideTuneMode(result.kind);
    e.modelValue = answered ? radio.modelCode : (sameSession ? known.modelCode : -1);
    e.dataVersion = answered ? radio.dataVersion : (sameSession ? known.dataVersion : -1);
    if (!radio.radioId.isEmpty())
        e.radioId = radioIdLabel(radio.radioId);
    else if (sameSession && !known.radioId.isEmpty())
        e.radioId = radioIdLabel(known.radioId);
    else if (result.kind == ExchangeKind::Write && result.image)
        e.radioId = radioIdLabel(radioIdText(*result.image));

    // The image's hash where bytes went to or came from a radio that answered.
    if (result.image && answered && result.status != ExchangeResult::Status::Cancelled)
        e.sha256 = sha256Hex(*result.image);
    return e;
}

void HistoryRecorder::exchangeFinished(const ExchangeResult& result) {
    if (historyOperation(result.kind).isEmpty()) {
        eventFor(result); // what it learned of the radio still counts
        return;
    }
    HistoryEvent event = eventFor(result);
    if (result.kind == ExchangeKind::Read && result.ok() && result.image && m_settings.keepBackups) {
        m_lastBackup = keepBackup(result, event.time);
        event.backup = m_lastBackup;
    }
    HistoryDatabase* db = database();
    if (!db)
        return;
    const QString setAsideBefore = db->setAsidePath();
    if (!db->add(event)) {
        warn(QStringLiteral("Warning: radio history not written: %1. The radio commands go on without "
                            "it.")
                 .arg(db->error()));
        return;
    }
    if (db->setAsidePath() != setAsideBefore)
        warnSetAside();
    if (m_recorded)
        m_recorded(event);
}

} // namespace orv
