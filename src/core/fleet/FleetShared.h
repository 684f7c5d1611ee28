#pragma once
// What the ports of a fleet run share, behind one mutex: the run's counters (radios numbered,
// under way, programmed and failed), the radio IDs programmed so far, and the requests that
// reach every port - Stop, and Next for the ports waiting for it. Everything else a port
// has is its own.

#include "fleet/FleetTypes.h"

#include <QMutex>
#include <QSet>
#include <QWaitCondition>
#include <vector>

namespace orv::fleet {

class FleetShared {
public:
    FleetShared(int ports, const FleetOptions& options);

    // A place for the radio a port has found. In a swap run the radios programmed and under
    // way may make the count already (one under way may still fail): Full, or with `wait`
    // the port waits until a place is free. Over, with no place taken, once the run is over.
    // A batch run always has a place.
    enum class Place { Taken, Full, Over };
    Place reserve(bool wait);
    // The number of the radio a port starts now: the first wave takes the ports in their order
    // (port i's first radio is number i + 1), later radios are numbered in the order they
    // start.
    int numberRadio(int port, bool first);
    // A radio ended, its place given back. A radio programmed is counted, and its ID (as the
    // history shows it) kept so that a swap run does not program it again.
    void radioEnded(bool ok, const QString& radioId);
    // Whether the radio with this ID was programmed in this run.
    bool programmedAlready(const QString& radioId) const;
    // A swap run has programmed its count of radios.
    bool enough() const;
    FleetTotals totals() const;

    // Stop: every port ends after its current radio; a port waiting for a radio ends at once.
    void requestStop();
    bool stopRequested() const;
    // No port may start another radio: stopped, or a swap run has enough.
    bool over() const;

    // Next for one port (-1: every port that is waiting for it now). A Next given while a port
    // is not waiting is not kept for later.
    void next(int port);
    // Waits until Next is given for `port`: true; false when the run is over meanwhile.
    bool waitForNext(int port);

private:
    bool overLocked() const;

    const int m_ports;
    const int m_count; // 0: batch
    mutable QMutex m_mutex;
    QWaitCondition m_changed;
    int m_nextNumber;
    int m_underWay = 0;
    FleetTotals m_totals;
    QSet<QString> m_done;
    bool m_stop = false;
    std::vector<char> m_waiting; // the ports waiting for Next
    std::vector<char> m_next;    // Next given to a waiting port
};

} // namespace orv::fleet
