#pragma once
// Time for the protocol's waits and for date stamps. The real clock never ends a delay early
// and does not spin; the virtual clock lets tests run whole exchanges in no time and check
// every timing exactly.

#include <QDateTime>
#include <cstdint>

namespace orv {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic time line.
    virtual std::int64_t nowMs() const = 0;
    // Waits at least ms milliseconds (returns at once for ms <= 0).
    virtual void delayMs(int ms) = 0;
    // Local calendar date and time, for the date stamp of the image.
    virtual QDateTime localDateTime() const = 0;
};

// The machine's clock: a monotonic timer for waits and the local time for stamps.
class SystemClock : public Clock {
public:
    std::int64_t nowMs() const override;
    void delayMs(int ms) override;
    QDateTime localDateTime() const override;
    static SystemClock& instance();
};

// A clock that only moves when told to: delayMs advances it at once.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2005, 4, 29), QTime(13, 45, 2)))
        : m_start(start) {}
    std::int64_t nowMs() const override { return m_now; }
    void delayMs(int ms) override {
        if (ms > 0)
            m_now += ms;
    }
    void advance(std::int64_t ms) { m_now += ms; }
    QDateTime localDateTime() const override { return m_start.addMSecs(m_now); }

private:
    QDateTime m_start;
    std::int64_t m_now = 0;
};

} // namespace orv
