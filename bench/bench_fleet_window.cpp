// The window while a fleet runs: the main window with the fleet window on eight demo radios
// (backup, write, verify and the information text, in real time), and a 10 ms timer on the
// main thread measuring how late the event loop serves it. Prints the worst and the 99th
// percentile lateness; target: under 50 ms.

#include "catalog/ProgramSetup.h"
#include "document/Document.h"
#include "fleet/FleetCommand.h"
#include "fleet/FleetWindow.h"
#include "shell/GuiFeedback.h"
#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orv;

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("ORVANTE_DATA_DIR", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath() + "/../bin";
    ProgramSetup setup = loadProgramSetup(programFolder + "/vuxPC.ini", programFolder);
    gui::GuiFeedback feedback(setup.startup.title);
    gui::MainWindow window(std::make_unique<Document>(setup.startup, std::move(setup.catalog), SystemClock::instance(),
                                                      setup.numbers),
                           feedback);
    auto* command = new gui::FleetCommand(window, 8);
    window.show();
    window.menuAction("mnuFleet")->trigger();
    gui::FleetWindow& fleet = *command->fleetWindow();
    for (int i = 0; i < fleet.portList()->count(); ++i)
        fleet.portList()->item(i)->setCheckState(Qt::Checked);
    fleet.findChild<QCheckBox*>("chkInfo")->setChecked(true);

    constexpr int TickMs = 10;
    std::vector<double> late;
    QElapsedTimer clock;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    qint64 due = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        late.push_back(std::max<double>(0, double(now - due) / 1e6));
        due = now + qint64(TickMs) * 1000000;
    });
    QObject::connect(&fleet, &gui::FleetWindow::runningChanged, &app, [&](bool running) {
        if (!running)
            app.quit();
    });
    clock.start();
    fleet.findChild<QPushButton*>("cmdStart")->click();
    due = clock.nsecsElapsed() + qint64(TickMs) * 1000000;
    tick.start(TickMs);
    app.exec();

    std::sort(late.begin(), late.end());
    const double worst = late.empty() ? 0 : late.back();
    const double p99 = late.empty() ? 0 : late[size_t(double(late.size() - 1) * 0.99)];
    const auto& records = fleet.records();
    const long ok = std::count_if(records.begin(), records.end(), [](const fleet::RadioRecord& r) { return r.ok; });
    for (const fleet::RadioRecord& r : records)
        if (!r.ok)
            std::fprintf(stderr, "%s: %s\n", qPrintable(r.port), qPrintable(r.message));
    std::printf("8 demo radios in the window: %ld programmed in %.1f s; event loop lateness over %zu ticks: "
                "worst %.1f ms, 99th percentile %.1f ms (target < 50 ms)%s\n",
                ok, double(clock.elapsed()) / 1000.0, late.size(), worst, p99, ok == 8 ? "" : "  RUN FAILED");
    return ok == 8 && worst < 50 ? 0 : 1;
}
