#include "link/Trace.h"

namespace orv {

QString traceLine(qint64 ms, bool tx, const QByteArray& bytes) {
    return QStringLiteral("%1 %2 %3")
        .arg(ms)
        .arg(tx ? QStringLiteral("TX") : QStringLiteral("RX"))
        .arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
}

TraceFile::TraceFile(const QString& path, Clock& clock)
    : m_file(path), m_clock(clock), m_start(clock.nowMs()) {
    m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

void TraceFile::log(bool tx, const QByteArray& bytes) {
    if (!m_file.isOpen() || bytes.isEmpty())
        return;
    m_file.write(traceLine(m_clock.nowMs() - m_start, tx, bytes).toLatin1() + '\n');
    m_file.flush();
}

bool TracingLink::send(const QByteArray& bytes) {
    const bool ok = m_inner.send(bytes);
    if (ok)
        m_trace.log(true, bytes);
    return ok;
}

QByteArray TracingLink::takeAll() {
    QByteArray bytes = m_inner.takeAll();
    m_trace.log(false, bytes);
    return bytes;
}

// Bytes thrown away unread were still received: trace them too.
bool TracingLink::discardInput() {
    if (m_inner.isOpen()) {
        const int waiting = m_inner.inBufferCount();
        if (waiting > 0)
            m_trace.log(false, m_inner.takeAll());
    }
    return m_inner.discardInput();
}

} // namespace orv
