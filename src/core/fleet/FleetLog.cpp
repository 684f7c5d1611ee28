#include "fleet/FleetLog.h"

#include "files/CsvLine.h"
#include "history/HistoryEvent.h"

namespace orv::fleet {

namespace {
QString yesNo(bool b) { return b ? QStringLiteral("yes") : QStringLiteral("no"); }
} // namespace

const QStringList& logColumns() {
    static const QStringList columns{"time",    "port",     "radio",        "radio_id", "model_value", "backup",
                                     "written", "verified", "info_written", "result",   "message"};
    return columns;
}

QByteArray logHeader() { return csvLine(logColumns()); }

QByteArray logRow(const RadioRecord& r) {
    return csvLine({isoTimeWithOffset(r.time), r.port, QString::number(r.radio), r.radioId,
                    r.modelValue >= 0 ? QString::number(r.modelValue) : QString(), yesNo(r.backedUp),
                    yesNo(r.written), yesNo(r.verified), yesNo(r.infoWritten),
                    r.ok ? QStringLiteral("ok") : QStringLiteral("failed"), r.message});
}

QByteArray logCsv(const std::vector<RadioRecord>& records) {
    QByteArray out = logHeader();
    for (const RadioRecord& r : records)
        out += logRow(r);
    return out;
}

FleetLogFile::FleetLogFile(const QString& path) : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = m_file.errorString();
        return;
    }
    if (m_file.size() == 0 && !put(logHeader()))
        m_file.close();
}

bool FleetLogFile::put(const QByteArray& bytes) {
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

bool FleetLogFile::append(const RadioRecord& record) { return ok() && put(logRow(record)); }

} // namespace orv::fleet
