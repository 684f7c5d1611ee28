#include "fleet/FleetShared.h"

namespace orv::fleet {

FleetShared::FleetShared(int ports, const FleetOptions& options)
    : m_ports(ports), m_count(options.swap() ? options.count : 0), m_nextNumber(ports + 1),
      m_waiting(size_t(ports), 0), m_next(size_t(ports), 0) {}

FleetShared::Place FleetShared::reserve(bool wait) {
    const QMutexLocker lock(&m_mutex);
    const auto full = [this] { return m_count > 0 && m_totals.programmed + m_underWay >= m_count; };
    while (wait && !overLocked() && full())
        m_changed.wait(&m_mutex);
    if (overLocked())
        return Place::Over;
    if (full())
        return Place::Full;
    ++m_underWay;
    return Place::Taken;
}

int FleetShared::numberRadio(int port, bool first) {
    const QMutexLocker lock(&m_mutex);
    return first ? port + 1 : m_nextNumber++;
}

void FleetShared::radioEnded(bool ok, const QString& radioId) {
    const QMutexLocker lock(&m_mutex);
    --m_underWay;
    if (ok) {
        ++m_totals.programmed;
        m_done.insert(radioId);
    } else {
        ++m_totals.failed;
    }
    m_changed.wakeAll();
}

bool FleetShared::programmedAlready(const QString& radioId) const {
    const QMutexLocker lock(&m_mutex);
    return m_done.contains(radioId);
}

bool FleetShared::enough() const {
    const QMutexLocker lock(&m_mutex);
    return m_count > 0 && m_totals.programmed >= m_count;
}

FleetTotals FleetShared::totals() const {
    const QMutexLocker lock(&m_mutex);
    return m_totals;
}

void FleetShared::requestStop() {
    const QMutexLocker lock(&m_mutex);
    m_stop = true;
    m_changed.wakeAll();
}

bool FleetShared::stopRequested() const {
    const QMutexLocker lock(&m_mutex);
    return m_stop;
}

bool FleetShared::overLocked() const { return m_stop || (m_count > 0 && m_totals.programmed >= m_count); }

bool FleetShared::over() const {
    const QMutexLocker lock(&m_mutex);
    return overLocked();
}

void FleetShared::next(int port) {
    const QMutexLocker lock(&m_mutex);
    for (int p = 0; p < m_ports; ++p)
        if ((port < 0 || p == port) && m_waiting[size_t(p)])
            m_next[size_t(p)] = 1;
    m_changed.wakeAll();
}

bool FleetShared::waitForNext(int port) {
    const QMutexLocker lock(&m_mutex);
    m_waiting[size_t(port)] = 1;
    while (!m_next[size_t(port)] && !overLocked())
        m_changed.wait(&m_mutex);
    const bool next = m_next[size_t(port)] && !overLocked();
    m_waiting[size_t(port)] = 0;
    m_next[size_t(port)] = 0;
    return next;
}

} // namespace orv::fleet
