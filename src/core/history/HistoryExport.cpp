#include "history/HistoryExport.h"

#include "files/CsvLine.h"

#include <QJsonObject>

#include <algorithm>

namespace orv {

namespace {

QJsonValue numberOrNull(int value) {
    return value >= 0 ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}
QJsonValue textOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}
QString numberOrEmpty(int value) {
    return value >= 0 ? QString::number(value) : QString();
}

QStringList fields(const HistoryEvent& e) {
    return {isoTimeWithOffset(e.time),
            e.radioId,
            numberOrEmpty(e.modelValue),
            numberOrEmpty(e.dataVersion),
            e.port,
            e.operation,
            e.result,
            e.message,
            e.sha256,
            e.backup};
}

} // namespace

const QStringList& historyColumns() {
    static const QStringList columns{"time",      "radio_id", "model_value", "data_version", "port",
                                     "operation", "result",   "message",     "sha256",       "backup"};
    return columns;
}

QJsonArray historyJson(const std::vector<HistoryEvent>& events) {
    QJsonArray out;
    for (const HistoryEvent& e : events) {
        const QStringList f = fields(e);
        QJsonObject o;
        for (int c : {0, 1, 4, 5, 6, 7})
            o.insert(historyColumns()[c], f[c]);
        o.insert(QStringLiteral("model_value"), numberOrNull(e.modelValue));
        o.insert(QStringLiteral("data_version"), numberOrNull(e.dataVersion));
        o.insert(QStringLiteral("sha256"), textOrNull(e.sha256));
        o.insert(QStringLiteral("backup"), textOrNull(e.backup));
        out.append(o);
    }
    return out;
}

QByteArray historyCsv(const std::vector<HistoryEvent>& events) {
    QByteArray out = csvLine(historyColumns());
    for (const HistoryEvent& e : events)
        out += csvLine(fields(e));
    return out;
}

QString historyText(const std::vector<HistoryEvent>& events) {
    if (events.empty())
        return QString();
    // Each column as wide as its longest text plus two spaces (a device path as the port, a
    // 16-character radio ID), so that no text runs into the next; the message comes last.
    std::vector<QStringList> rows{{QStringLiteral("Time"), QStringLiteral("Radio ID"), QStringLiteral("Model"),
                                   QStringLiteral("Operation"), QStringLiteral("Result"), QStringLiteral("Port"),
                                   QStringLiteral("Message")}};
    for (const HistoryEvent& e : events)
        rows.push_back({isoTimeWithOffset(e.time), e.radioId.isEmpty() ? QStringLiteral("-") : e.radioId,
                        numberOrEmpty(e.modelValue), e.operation, e.result, e.port, e.message});
    std::vector<qsizetype> widths(rows.front().size() - 1, 0);
    for (const QStringList& r : rows)
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], r[qsizetype(c)].size() + 2);
    QString out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QString line;
        for (std::size_t c = 0; c < widths.size(); ++c)
            line += rows[i][qsizetype(c)].leftJustified(widths[c]);
        out += (line + rows[i].last()).trimmed() + QLatin1Char('\n');
        if (i > 0 && !events[i - 1].backup.isEmpty())
            out += QStringLiteral("    Backup: %1\n").arg(events[i - 1].backup);
    }
    return out;
}

} // namespace orv
