#include "shell/ProgramStart.h"

#include "catalog/ProgramSetup.h"
#include "print/PrintCommand.h"
#include "shell/CheckCommand.h"
#include "shell/CompareCommand.h"
#include "document/Document.h"
#include "shell/ChannelPlanCommands.h"
#include "fleet/FleetCommand.h"
#include "shell/FileCommands.h"
#include "shell/FileDialog.h"
#include "shell/GuiFeedback.h"
#include "shell/HelpCommands.h"
#include "shell/HistoryCommand.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "shell/PortCommand.h"
#include "shell/RadioInfoCommand.h"
#include "sim/VirtualRadio.h"
#include "shell/SplashWindow.h"
#include "shell/UndoHistory.h"
#include "shell/VerifyCommand.h"
#include "tune/TuneWorkspace.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

namespace orv::gui {

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("ORVANTE Programming Software: programs and aligns the PALUVIN "
                                               "series of 16-channel handheld radios."));
    const QCommandLineOption help = p.addHelpOption();
    const QCommandLineOption version = p.addVersionOption();
    const QCommandLineOption catalog(QStringLiteral("catalog"),
                                     QStringLiteral("The model catalog INI (default: the shipped vuxPC.ini)."),
                                     QStringLiteral("FILE"));
    p.addOption(catalog);
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the main window to FILE (PNG) once it is shown, then quit."),
        QStringLiteral("FILE"));
    p.addOption(screenshot);
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Use the built-in virtual radio instead of a serial port, so that "
                                                 "the radio commands work without a radio."));
    p.addOption(demo);

    auto stop = [&result](int code, const QString& out, const QString& err) {
        result.run = false;
        result.exitCode = code;
        result.output = out;
        result.error = err;
        return result;
    };
    const QString tryHelp = QStringLiteral("Try 'orvante --help'.");
    if (!p.parse(arguments))
        return stop(2, {}, QStringLiteral("orvante: %1\n%2\n").arg(p.errorText(), tryHelp));
    if (p.isSet(help) || p.isSet(QStringLiteral("help-all")))
        return stop(0, p.helpText(), {});
    if (p.isSet(version))
        return stop(0, QStringLiteral("orvante %1\n").arg(QStringLiteral(ORVANTE_VERSION)), {});
    if (!p.positionalArguments().isEmpty())
        return stop(2, {}, QStringLiteral("orvante: unexpected argument '%1'\n%2\n")
                               .arg(p.positionalArguments().constFirst(), tryHelp));

    result.options.catalogPath = p.value(catalog);
    result.options.screenshotPath = p.value(screenshot);
    result.options.demo = p.isSet(demo);
    // A catalog named on the command line must be there: a typing error would otherwise
    // start the program with the built-in defaults without a word.
    if (!result.options.catalogPath.isEmpty() && !QFileInfo(result.options.catalogPath).isFile())
        return stop(1, {}, QStringLiteral("orvante: The catalog file %1 does not exist.\n")
                               .arg(result.options.catalogPath));
    return result;
}

ProgramStart::ProgramStart(StartOptions options, Clock& clock)
    : m_options(std::move(options)), m_clock(clock),
      m_feedback(std::make_unique<GuiFeedback>(QString::fromLatin1(DefaultTitle))) {}

ProgramStart::~ProgramStart() = default;

MainWindow* ProgramStart::run() {
    guardQtFileDialogs();
    // The splash first, with the built-in title; it shows the catalog's title once read.
    const QString defaultTitle = QString::fromLatin1(DefaultTitle);
    if (m_options.showSplash) {
        m_splash = std::make_unique<SplashWindow>(defaultTitle);
        m_splash->show();
        m_splash->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    const std::int64_t splashShown = m_clock.nowMs();

    ProgramSetup setup = loadProgramSetup(m_options.catalogPath, QCoreApplication::applicationDirPath());
    const StartupValues& startup = setup.startup;
    m_feedback->setAppTitle(startup.title);
    if (m_splash) {
        m_splash->setTitle(startup.title);
        m_splash->repaint();
    }

    // The data version starts at 2 in the document; the window's start-up does the rest.
    m_window = std::make_unique<MainWindow>(
        std::make_unique<Document>(startup, std::move(setup.catalog), m_clock, setup.numbers), *m_feedback);
    m_feedback->setParentWidget(m_window.get());
    m_window->setSplash(m_splash.get());
    plugCommands();

    if (m_splash) {
        const std::int64_t left = m_options.splashMinimumMs - (m_clock.nowMs() - splashShown);
        if (left > 0)
            m_clock.delayMs(int(left));
        m_splash->close();
    }
    m_window->show();
    return m_window.get();
}

void ProgramStart::plugCommands() {
    m_connection = std::make_unique<RadioConnection>(m_clock);
    if (m_options.demo) {
        m_connection->useDemoRadio(sim::demoRadioImage());
        auto* demo = new QLabel(QStringLiteral("Demo radio"), m_window.get());
        demo->setObjectName(QStringLiteral("lblDemoRadio"));
        demo->setToolTip(QStringLiteral("Read, Write and Tune talk to the built-in virtual radio, not to a serial port."));
        m_window->statusBar()->addPermanentWidget(demo);
    }
    m_operate = std::make_unique<OperateCommands>(*m_window, *m_connection);
    // Children of the window.
    auto* files = new FileCommands(*m_window);
    auto* port = new PortCommand(*m_window);
    port->setHeldDevice([this] {
        return m_connection->link().serial().isOpen() ? m_connection->device() : QString();
    });
    new TuneWorkspace(*m_window, m_operate->runner());
    new RadioInfoCommand(*m_window, m_operate->runner());
    new HelpCommands(*m_window);
    new UndoHistory(*m_window);
    new ChannelPlanCommands(*m_window);
    new PrintCommand(*m_window);
    new CheckCommand(*m_window, *m_operate);
    auto* compare = new CompareCommand(*m_window, *m_operate);
    new VerifyCommand(*m_window, *m_operate);
    new HistoryCommand(*m_window, *m_operate, *files, *compare);
    // The fleet window offers four virtual radios of its own with --demo.
    new FleetCommand(*m_window, m_options.demo ? 4 : 0);
}

} // namespace orv::gui
