#include "MemoryLink.h"

#include "VirtualRadio.h"

#include <QStringList>

#include <algorithm>

namespace orv::sim {

MemoryLink::MemoryLink(VirtualRadio& radio, Clock& clock)
    : m_radio(radio), m_clock(clock), m_byteNs(RadioByteTimeNs), m_radioEnd(radio) {}

bool MemoryLink::setSettings(const QString& settings) {
    if (m_cut)
        return false;
    const QStringList parts = settings.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud < 50 || baud > 4'000'000)
        return false;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity != QLatin1String("N") && parity != QLatin1String("O") && parity != QLatin1String("E"))
        return false;
    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8)
        return false;
    const QString stop = parts[3].trimmed();
    int stopHalfBits = 0;
    if (stop == QLatin1String("1"))
        stopHalfBits = 2;
    else if (stop == QLatin1String("1.5"))
        stopHalfBits = 3;
    else if (stop == QLatin1String("2"))
        stopHalfBits = 4;
    else
        return false;

    advance(); // bytes already on their way keep the timing they started with
    const int halfBits = 2 * (1 + dataBits + (parity == QLatin1String("N") ? 0 : 1)) + stopHalfBits;
    m_byteNs = std::int64_t(halfBits) * 1'000'000'000 / (2 * std::int64_t(baud));
    m_lineMatches = baud == RadioBaud && parity == QLatin1String("N") && dataBits == 8 && stopHalfBits == 4;
    m_settings = settings;
    return true;
}

bool MemoryLink::open() {
    if (m_cut) {
        m_openError = QStringLiteral("the programming cable is not connected");
        return false;
    }
    if (!m_openFailure.isEmpty()) {
        m_openError = m_openFailure;
        return false;
    }
    if (!m_open) {
        dropInFlight();
        m_open = true;
    }
    m_openError.clear();
    return true;
}

void MemoryLink::close() {
    dropInFlight();
    m_open = false;
}

void MemoryLink::cut() {
    m_cut = true;
    dropInFlight();
    m_radio.lineLost();
}

void MemoryLink::dropInFlight() {
    m_outgoing.clear();
    m_incoming.clear();
    m_received.clear();
    m_txFreeNs = 0;
    m_radioEnd.answersDropped();
}

void MemoryLink::advance() {
    if (!usable())
        return;
    const std::int64_t now = nowNs();
    while (!m_outgoing.empty() && m_outgoing.front().atNs <= now) {
        const OnWire sent = m_outgoing.front();
        m_outgoing.pop_front();
        if (!m_lineMatches)
            continue;
        m_radioEnd.arrive(sent, m_incoming);
    }
    while (!m_incoming.empty() && m_incoming.front().atNs <= now) {
        if (m_lineMatches)
            m_received.append(m_incoming.front().byte);
        m_incoming.pop_front();
    }
}

int MemoryLink::inBufferCount() {
    if (!usable())
        return -1;
    advance();
    return int(m_received.size());
}

int MemoryLink::outBufferCount() {
    if (!usable())
        return -1;
    advance();
    return int(m_outgoing.size());
}

bool MemoryLink::discardInput() {
    if (!usable())
        return false;
    advance();
    m_received.clear();
    return true;
}

bool MemoryLink::discardOutput() {
    if (!usable())
        return false;
    advance();
    const std::int64_t now = nowNs();
    while (!m_outgoing.empty() && m_outgoing.back().atNs - m_byteNs >= now)
        m_outgoing.pop_back();
    m_txFreeNs = m_outgoing.empty() ? std::min(m_txFreeNs, now) : m_outgoing.back().atNs;
    return true;
}

bool MemoryLink::send(const QByteArray& bytes) {
    if (!usable())
        return false;
    advance();
    std::int64_t t = std::max(nowNs(), m_txFreeNs);
    for (char b : bytes) {
        t += m_byteNs;
        m_outgoing.push_back({b, t});
    }
    m_txFreeNs = t;
    return true;
}

QByteArray MemoryLink::takeAll() {
    if (!usable())
        return {};
    advance();
    QByteArray all;
    all.swap(m_received);
    return all;
}

} // namespace orv::sim
