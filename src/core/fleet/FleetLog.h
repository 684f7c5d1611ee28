#pragma once
// The fleet's log: one CSV row per radio, for the customer. The columns are
// time,port,radio,radio_id,model_value,backup,written,verified,info_written,result,message
// with yes/no for the booleans and ok/failed for the result. A log file gets the header when
// it is new (or empty), then each row is appended and flushed as the radio ends.

#include "fleet/FleetTypes.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

namespace orv::fleet {

const QStringList& logColumns();
QByteArray logHeader();
QByteArray logRow(const RadioRecord& record);
// The header and every row: the window's Export Log.
QByteArray logCsv(const std::vector<RadioRecord>& records);

class FleetLogFile {
public:
    // Opens `path` for appending (created when missing); ok() tells whether it could, and
    // error() why not.
    explicit FleetLogFile(const QString& path);
    bool ok() const { return m_file.isOpen(); }
    QString error() const { return m_error; }
    // Appends the row and flushes it to the file. False (with error()) when it cannot.
    bool append(const RadioRecord& record);

private:
    bool put(const QByteArray& bytes);

    QFile m_file;
    QString m_error;
};

} // namespace orv::fleet
