#pragma once
// The program's start (Sub Main): the splash window, the shared catalog INI and the start-up
// values it names, the main window with its start-up, at least 1.2 s of splash, then the main
// window. Also the command line of `orvante`.

#include "Clock.h"
#include "link/RadioConnection.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace orv::gui {

class GuiFeedback;
class MainWindow;
class OperateCommands;
class SplashWindow;

struct StartOptions {
    QString catalogPath;        // --catalog FILE; empty: the shipped vuxPC.ini
    bool showSplash = true;
    int splashMinimumMs = 1200; // how long the splash stays at least
    QString screenshotPath;     // --screenshot FILE: save a picture of the window, then quit
    bool demo = false;          // --demo: the built-in virtual radio instead of a serial port
};

// The command line: either options to start with, or a text to print and an exit status.
struct CommandLine {
    bool run = true;
    int exitCode = 0;  // 0 done, 1 refused (a named catalog that does not exist), 2 usage
    QString output;    // for stdout (--help, --version)
    QString error;     // for stderr
    StartOptions options;
};
CommandLine parseCommandLine(const QStringList& arguments);

class ProgramStart {
public:
    ProgramStart(StartOptions options, Clock& clock);
    ~ProgramStart();
    ProgramStart(const ProgramStart&) = delete;
    ProgramStart& operator=(const ProgramStart&) = delete;

    // Runs the start-up and shows the main window.
    MainWindow* run();

    MainWindow* mainWindow() const { return m_window.get(); }
    SplashWindow* splash() const { return m_splash.get(); }
    GuiFeedback& feedback() { return *m_feedback; }

private:
    // The window's commands: files, radio, port, help.
    void plugCommands();

    StartOptions m_options;
    Clock& m_clock;
    std::unique_ptr<GuiFeedback> m_feedback; // outlives the window that uses it
    std::unique_ptr<SplashWindow> m_splash;
    // The window's commands and their connection outlive the window that calls them.
    std::unique_ptr<RadioConnection> m_connection;
    std::unique_ptr<OperateCommands> m_operate;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace orv::gui
