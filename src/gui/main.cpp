// orvante: the desktop program.

#include "shell/MainWindow.h"
#include "shell/ProgramStart.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvante"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANTE_VERSION));

    const orv::gui::CommandLine cmd = orv::gui::parseCommandLine(QApplication::arguments());
    if (!cmd.run) {
        std::fputs(cmd.output.toLocal8Bit().constData(), stdout);
        std::fputs(cmd.error.toLocal8Bit().constData(), stderr);
        return cmd.exitCode;
    }
    orv::gui::ProgramStart start(cmd.options);
    orv::gui::MainWindow* window = start.run();

    if (const QString path = cmd.options.screenshotPath; !path.isEmpty()) {
        // Once the window has been laid out and painted.
        QTimer::singleShot(500, window, [window, path] {
            const bool saved = window->grab().save(path, "PNG");
            if (!saved)
                std::fprintf(stderr, "orvante: cannot write %s\n", path.toLocal8Bit().constData());
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
