// Start-up time of the window: from the process's start (main, before the application object)
// to the main window shown, with the model list, the settings panel and the channel table
// filled. The splash's own minimum time (1.2 s) is left out: the splash is shown but not
// kept. Prints the first start and the median of later starts in the same process, and their
// ratios to the target of 0.5 s.

#include "shell/MainWindow.h"
#include "shell/ProgramStart.h"

#include <QApplication>
#include <QFile>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace orv::gui;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double TargetSeconds = 0.5;

double secondsSince(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// One start: the program's start-up without the splash wait, until the window is on screen.
void startOnce(std::unique_ptr<ProgramStart>& start) {
    StartOptions options;
    options.catalogPath = QStringLiteral(ORVANTE_SOURCE_DIR "/data/vuxPC.ini");
    options.splashMinimumMs = 0;
    start = std::make_unique<ProgramStart>(options, orv::SystemClock::instance());
    MainWindow* window = start->run();
    QCoreApplication::processEvents();
    while (!window->windowHandle() || !window->windowHandle()->isExposed()) {
        QThread::usleep(200);
        QCoreApplication::processEvents();
    }
    window->repaint();
}

// How long the process had been running when main began (loading the libraries), from
// /proc at the kernel's clock-tick resolution; 0 where that is not available.
double processAgeSeconds() {
    QFile stat(QStringLiteral("/proc/self/stat")), uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double ticks = double(sysconf(_SC_CLK_TCK));
    if (fields.size() < 20 || ticks <= 0)
        return 0;
    const double startedAt = fields[19].toDouble() / ticks; // field 22 of the whole line
    const double now = uptime.readAll().split(' ').value(0).toDouble();
    return std::max(0.0, now - startedAt);
}

} // namespace

int main(int argc, char* argv[]) {
    const auto processStart = Clock::now();
    const double beforeMain = processAgeSeconds();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLatin1(argv[1]).toInt()) : 10;

    std::unique_ptr<ProgramStart> start;
    startOnce(start);
    const double first = secondsSince(processStart);
    start.reset();

    std::vector<double> later;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        startOnce(start);
        later.push_back(secondsSince(t0));
        start.reset();
    }
    std::sort(later.begin(), later.end());
    const double median = later[later.size() / 2];

    std::printf("start-up to window shown (splash wait excluded), platform %s\n",
                qPrintable(QGuiApplication::platformName()));
    const double total = beforeMain + first;
    std::printf("  first start from process start: %7.1f ms   ratio to %.1f s target: %.3f\n", total * 1000,
                TargetSeconds, total / TargetSeconds);
    std::printf("    of which before main (libraries, 10 ms steps): %.0f ms\n", beforeMain * 1000);
    std::printf("  later starts, median of %d:      %7.1f ms   ratio to %.1f s target: %.3f\n", rounds,
                median * 1000, TargetSeconds, median / TargetSeconds);
    return 0;
}
