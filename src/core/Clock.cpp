#include "Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

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
    using namespace std::chrono;
    const auto until = steady_clock::now() + milliseconds(ms);
    // On the application's thread the wait runs the event loop without user input: windows
    // keep painting, the serial port keeps receiving, and no command can start meanwhile.
    auto* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        for (;;) {
            const auto left = duration_cast<milliseconds>(until - steady_clock::now()).count();
            if (left <= 0)
                break;
            timer.start(int(left));
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
    }
    // sleep_until on the steady clock never wakes early and leaves the CPU idle; it also
    // covers the sub-millisecond rest a timer may leave.
    while (steady_clock::now() < until)
        std::this_thread::sleep_until(until);
}

QDateTime SystemClock::localDateTime() const { return QDateTime::currentDateTime(); }

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

} // namespace orv
