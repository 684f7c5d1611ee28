#pragma once
// Wire traces: every chunk of bytes sent or received, one line each,
// "<ms since start> TX|RX <bytes in two-digit hex separated by spaces>".

#include "Clock.h"
#include "link/SerialLink.h"

#include <QFile>
#include <QString>
#include <memory>

namespace orv {

QString traceLine(qint64 ms, bool tx, const QByteArray& bytes);

// Writes trace lines to a file as they happen (flushed line by line, so a trace survives a
// crash or a kill).
class TraceFile {
public:
    // Opens (truncates) path; ok() tells whether it could.
    TraceFile(const QString& path, Clock& clock);
    bool ok() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }
    void log(bool tx, const QByteArray& bytes);

private:
    QFile m_file;
    Clock& m_clock;
    std::int64_t m_start;
};

// A link that passes everything through and traces what was sent ("TX") and taken ("RX").
class TracingLink : public SerialLink {
public:
    TracingLink(SerialLink& inner, TraceFile& trace) : m_inner(inner), m_trace(trace) {}

    bool setSettings(const QString& s) override { return m_inner.setSettings(s); }
    bool open() override { return m_inner.open(); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    QString openError() const override { return m_inner.openError(); }
    int inBufferCount() override { return m_inner.inBufferCount(); }
    int outBufferCount() override { return m_inner.outBufferCount(); }
    bool discardInput() override;
    bool discardOutput() override { return m_inner.discardOutput(); }
    bool send(const QByteArray& bytes) override;
    QByteArray takeAll() override;

private:
    SerialLink& m_inner;
    TraceFile& m_trace;
};

} // namespace orv
