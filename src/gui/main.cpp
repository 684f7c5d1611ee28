// orvante: the desktop program.

#include "shell/MainWindow.h"
#include "shell/ProgramStart.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>

namespace {

int finish(const orv::gui::CommandLine& cmd) {
    std::fputs(cmd.output.toLocal8Bit().constData(), stdout);
    std::fputs(cmd.error.toLocal8Bit().constData(), stderr);
    return cmd.exitCode;
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version answer without a display: no application object for them.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    for (const QString& a : raw.mid(1)) {
        if (a == QLatin1String("--help") || a == QLatin1String("-h") || a == QLatin1String("--help-all") ||
            a == QLatin1String("--version") || a == QLatin1String("-v")) {
            orv::gui::CommandLine early = orv::gui::parseCommandLine(raw);
            // Without an application object the parser cannot name the program itself.
            early.output.replace(QStringLiteral("<executable_name>"), QStringLiteral("orvante"));
            if (!early.run)
                return finish(early);
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvante"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANTE_VERSION));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orvante"), QIcon(QStringLiteral(":/orvante/icons/orvante.png"))));

    const orv::gui::CommandLine cmd = orv::gui::parseCommandLine(QApplication::arguments());
    if (!cmd.run)
        return finish(cmd);
    orv::gui::ProgramStart start(cmd.options, orv::SystemClock::instance());
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
