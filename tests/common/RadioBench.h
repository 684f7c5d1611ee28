#pragma once
// A virtual radio on a virtual clock behind a RadioLink, with every chunk the program sends
// recorded with its time, and a recording feedback.

#include "common/RecordingFeedback.h"
#include "link/RadioLink.h"
#include "sim/MemoryLink.h"
#include "sim/VirtualRadio.h"

#include <QtTest>
#include <functional>

namespace orv::test {

struct RadioBench {
    VirtualClock clock;
    sim::VirtualRadio radio;
    struct Wire : sim::MemoryLink {
        Wire(sim::VirtualRadio& r, VirtualClock& c) : MemoryLink(r, c), clock(c) {}
        VirtualClock& clock;
        QList<QPair<std::int64_t, QByteArray>> sent;
        int cutAfterSends = -1; // the cable is pulled right after this many sends
        // Called right after each send with the number of sends so far (a stop between bytes).
        std::function<void(int)> onSend;
        bool send(const QByteArray& bytes) override {
            sent.append({clock.nowMs(), bytes});
            const bool ok = MemoryLink::send(bytes);
            if (sent.size() == cutAfterSends)
                cut();
            if (onSend)
                onSend(int(sent.size()));
            return ok;
        }
    } wire{radio, clock};
    QList<QPair<std::int64_t, QByteArray>>& sent = wire.sent;
    RadioLink link{wire, clock, QStringLiteral("COM2")};
    RecordingFeedback feedback;

    explicit RadioBench(const QStringList& faults = {}) { setFaults(faults); }
    void setFaults(const QStringList& faults) {
        sim::RadioFaults f;
        for (const QString& text : faults)
            QVERIFY2(sim::RadioFaults::parse(text, f), qPrintable(text));
        radio.setFaults(f);
    }
    QList<QByteArray> payloads() const {
        QList<QByteArray> p;
        for (const auto& s : sent)
            p.append(s.second);
        return p;
    }
    int count(const QByteArray& payload) const { return int(payloads().count(payload)); }
    // The time between send i and send j.
    std::int64_t gap(int i, int j) const { return sent[j].first - sent[i].first; }
};

// A block request: "R" (or "W"), address high, address low, 8.
inline QByteArray blockRequest(char cmd, int address) {
    const char bytes[] = {cmd, char(address >> 8), char(address & 0xFF), 8};
    return QByteArray(bytes, 4);
}

} // namespace orv::test
