// Pasting 16 rows of 11 columns from a spreadsheet into the channel grid of the window, as
// Edit > Paste does it: the clipboard's text read, every cell through the rules, applied as
// one step on the undo stack, and the grid repainted. Prints the time of one paste against
// the target of 50 ms. Runs on whatever display Qt is given (offscreen in CI).

#include "document/Document.h"
#include "editors/ChannelEditor.h"
#include "import/GridCells.h"
#include "shell/MainWindow.h"
#include "shell/ProgramStart.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orv;
using namespace orv::gui;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 200;
    StartOptions options;
    options.catalogPath = QStringLiteral(ORVANTE_SOURCE_DIR "/data/vuxPC.ini");
    options.splashMinimumMs = 0;
    ProgramStart start(options, SystemClock::instance());
    MainWindow* window = start.run();
    QCoreApplication::processEvents();

    // Every cell differs from the new image's, so every one is checked and applied.
    QString text = gridColumnNames(Grid::Channels).join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int n = 1; n <= 16; ++n)
        text += QStringLiteral("CH %1\t%2\tCTC 88.5\t%3\tDCS 023\tDelete\tON\tLow\tNarrow\t0\t%4\n")
                    .arg(n)
                    .arg(146.0 + n * 0.0125, 0, 'f', 4)
                    .arg(147.0 + n * 0.0125, 0, 'f', 4)
                    .arg(n % 2);
    QGuiApplication::clipboard()->setText(text);
    QTableView* grid = window->channelEditor()->grid();
    grid->setCurrentIndex(grid->model()->index(1, 1));
    QAction* paste = window->menuAction(QStringLiteral("mnuEditPaste"));
    QAction* undo = window->menuAction(QStringLiteral("mnuUndo"));
    const ChannelTable before = window->document().channels();

    std::vector<double> times;
    times.reserve(size_t(rounds));
    QElapsedTimer t;
    for (int i = 0; i < rounds; ++i) {
        t.start();
        paste->trigger();
        grid->repaint();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        if (window->document().channels() == before) {
            std::fprintf(stderr, "the paste changed nothing\n");
            return 1;
        }
        undo->trigger();
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double worst = times.back();
    std::printf("paste of 16 x 11 cells into the channel grid: one paste %.3f ms (median), %.3f ms (slowest)\n",
                median, worst);
    std::printf("ratio of the 50 ms target to one paste: %.0f (median), %.0f (slowest)\n", 50.0 / median,
                50.0 / worst);
    return 0;
}
