#pragma once
// One event of the radio history: one radio exchange of the window or the command line tool,
// as it ended.

#include <QDateTime>
#include <QString>

namespace orv {

struct HistoryEvent {
    QDateTime time;         // when the exchange ended, with its offset from UTC
    QString radioId;        // radioIdLabel(): "" when the radio's ID is not known
    int modelValue = -1;    // the model code the radio reported; -1 when it did not answer
    int dataVersion = -1;   // likewise
    QString port;           // "COM3", a device, "Demo radio"
    QString operation;      // "read", "write", "verify", "info-read", "info-write", "tune-store",
                            // "tune-write-channels"
    QString result;         // "ok", "failed", "cancelled"
    QString message;        // the message the exchange showed last
    QString sha256;         // hex of the 1024 image bytes read or sent; "" when none
    QString backup;         // the backup file of a read; "" when none
    QString programVersion; // the program that recorded the event

    bool operator==(const HistoryEvent&) const = default;
};

// "2025-03-01T10:00:00+01:00": ISO 8601, always with the offset (also "+00:00").
QString isoTimeWithOffset(const QDateTime& time);

} // namespace orv
