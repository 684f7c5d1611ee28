#include "Clock.h"

#include <chrono>
#include <thread>

namespace orv {

std::int64_t SystemClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::delayMs(int ms) {
    if (ms <= 0)
        return;
    // sleep_until on the steady clock never wakes early and leaves the CPU idle.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_until(until);
}

QDateTime SystemClock::localDateTime() const { return QDateTime::currentDateTime(); }

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

} // namespace orv
