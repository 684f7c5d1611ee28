// The shell's small pieces: the progress window, the busy pointer, the splash, the message
// boxes and progress display of the window's feedback, the about box, the command line and
// the program's start.

#include "catalog/StartupConfig.h"
#include "common/TestFiles.h"
#include "document/Document.h"
#include "shell/AboutBox.h"
#include "shell/BusyCursor.h"
#include "shell/GuiFeedback.h"
#include "shell/MainWindow.h"
#include "shell/ProgramStart.h"
#include "document/TuneSession.h"
#include "shell/ProgressWindow.h"
#include "shell/SplashWindow.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QAction>
#include <QDialog>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace orv;
using namespace orv::gui;

namespace {
const QString Title = QStringLiteral("ORVANTE Programming Software");

// Presses a button of the next modal box as soon as it is up.
void pressInNextBox(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        box->button(button)->click();
    });
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void busyCursorNesting() {
        QVERIFY(!QGuiApplication::overrideCursor());
        {
            BusyCursor outer;
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            {
                BusyCursor inner;
                QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
            }
            // The inner one ended: the default pointer is back although the outer one lives.
            QVERIFY(!QGuiApplication::overrideCursor());
        }
        QVERIFY(!QGuiApplication::overrideCursor());
        // A pointer set by someone else is not taken away by ours ending twice.
        QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
        { BusyCursor busy; }
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QGuiApplication::restoreOverrideCursor();
    }

    void splashBorder() {
        SplashWindow splash(Title);
        const QImage img = splash.grab().toImage();
        const int w = img.width(), h = img.height();
        const QColor white(255, 255, 255), dark(64, 64, 64);
        const QColor face = splash.palette().color(QPalette::Button);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(img.pixelColor(w / 2, i), white);         // top
            QCOMPARE(img.pixelColor(i, h / 2), white);         // left
            QCOMPARE(img.pixelColor(w / 2, h - 1 - i), dark);  // bottom
            QCOMPARE(img.pixelColor(w - 1 - i, h / 2), dark);  // right
        }
        QCOMPARE(img.pixelColor(4, h / 2), face);
        QCOMPARE(img.pixelColor(w - 5, 5), face);
    }

    void messageBoxes() {
        const struct {
            Icon icon;
            QMessageBox::Icon shown;
        } icons[] = {{Icon::None, QMessageBox::NoIcon},          {Icon::Information, QMessageBox::Information},
                     {Icon::Exclamation, QMessageBox::Warning},  {Icon::Critical, QMessageBox::Critical},
                     {Icon::Question, QMessageBox::Question}};
        for (const auto& i : icons) {
            const auto box = GuiFeedback::makeBox("text", "title", i.icon, Buttons::Ok, nullptr);
            QCOMPARE(box->icon(), i.shown);
        }
        QCOMPARE(GuiFeedback::makeBox("", "", Icon::None, Buttons::YesNoCancel, nullptr)->standardButtons(),
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(GuiFeedback::makeBox("", "", Icon::None, Buttons::YesNo, nullptr)->standardButtons(),
                 QMessageBox::Yes | QMessageBox::No);

        GuiFeedback feedback(Title);
        pressInNextBox(QMessageBox::No);
        QCOMPARE(feedback.ask("Continue?", "Model Change", Icon::Exclamation, Buttons::YesNo), Answer::No);
        pressInNextBox(QMessageBox::Cancel);
        QCOMPARE(feedback.ask("Save?", Title, Icon::Exclamation, Buttons::YesNoCancel), Answer::Cancel);
        pressInNextBox(QMessageBox::Ok);
        feedback.message("Done", Title, Icon::Information);
    }

    // The progress window as the feedback runs it: label and caption, the bar moved only by a
    // step and never past the maximum, no closing by the user, the hourglass of its load gone,
    // and an empty label standing for the title.
    void progressDisplay() {
        QWidget owner;
        owner.show();
        GuiFeedback feedback(Title, &owner);
        feedback.progressOpen("Write data to the radio ......", 140, "Write");
        ProgressWindow* w = feedback.progressWindow();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Write"));
        QCOMPARE(w->label()->text(), QStringLiteral("Write data to the radio ......"));
        QVERIFY(!BusyCursor::hourglassShown());
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
        w->setPrgValue(120);
        QCOMPARE(w->bar()->value(), 0);
        feedback.progressSet(1000);
        QCOMPARE(w->bar()->value(), 140);
        QVERIFY(!w->close() && w->isVisible());
        feedback.progressClose();
        QTRY_VERIFY(!feedback.progressWindow());

        feedback.progressOpen(QString(), 690, QString());
        QCOMPARE(feedback.progressWindow()->windowTitle(), QStringLiteral("Read"));
        QCOMPARE(feedback.progressWindow()->label()->text(), Title);
        feedback.progressClose();
    }

    void aboutBox() {
        AboutBox about("Title Text");
        QCOMPARE(about.windowTitle(), QStringLiteral("About Title Text"));
        QTimer::singleShot(0, &about, [&about] { about.findChild<QPushButton*>("cmdOK")->click(); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
    }

    void commandLine() {
        const QString exe = QStringLiteral("orvante");
        CommandLine c = parseCommandLine({exe, "--version"});
        QVERIFY(!c.run);
        QCOMPARE(c.exitCode, 0);
        QVERIFY(QRegularExpression("^orvante \\d+\\.\\d+\\.\\d+\n$").match(c.output).hasMatch());

        c = parseCommandLine({exe, "--help"});
        QVERIFY(!c.run && c.exitCode == 0 && c.output.contains("--catalog <FILE>"));

        c = parseCommandLine({exe, "--bogus"});
        QVERIFY(!c.run);
        QCOMPARE(c.exitCode, 2);
        QVERIFY(c.error.contains("bogus"));

        c = parseCommandLine({exe, "--catalog", "/nonexistent/vuxPC.ini"});
        QVERIFY(!c.run);
        QCOMPARE(c.exitCode, 1);
        QCOMPARE(c.error, QStringLiteral("orvante: The catalog file /nonexistent/vuxPC.ini does not exist.\n"));

        QTemporaryDir dir;
        const QString catalog = dir.filePath("vuxPC.ini");
        QVERIFY(orv::test::putFile(catalog, "[Radio List]\n"));
        c = parseCommandLine({exe, "--catalog", catalog});
        QVERIFY(c.run);
        QCOMPARE(c.options.catalogPath, catalog);
        QCOMPARE(c.options.splashMinimumMs, 1200);
    }

    void startShowsTheSplashForItsTimeThenTheWindow() {
        QTemporaryDir dir;
        const QString catalog = dir.filePath("vuxPC.ini");
        QVERIFY(orv::test::putFile(catalog, "[Const String]\nSoftware Title=Test Title\n[Radio List]\n"
                                            "Sum of Radios=1\nRadioName1=Seven\nRadioValue1=7\n"));
        VirtualClock clock;
        StartOptions options;
        options.catalogPath = catalog;
        ProgramStart start(options, clock);
        MainWindow* window = start.run();
        QCOMPARE(clock.nowMs(), 1200); // start-up itself took no time on this clock
        QVERIFY(window->isVisible());
        QVERIFY(!start.splash()->isVisible());
        QCOMPARE(start.splash()->title(), QStringLiteral("Test Title"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Test Title"));
        QCOMPARE(window->document().selectedModelInfo()->name, QStringLiteral("Seven"));
    }

    // With --demo every radio command of the window reaches the built-in virtual radio: Tune
    // shows the tune view, Exit Tune ends tune mode, Radio Information reads the radio.
    void demoRadioBehindTheWindowsCommands() {
        VirtualClock clock;
        StartOptions options;
        options.showSplash = false;
        options.demo = true;
        ProgramStart start(options, clock);
        MainWindow* window = start.run();
        window->menuAction(QStringLiteral("mnuTune"))->trigger();
        QCOMPARE(window->viewMode(), int(MainWindow::TuneView));
        auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("TreeView2"));
        QVERIFY(tree && tree->isVisible());
        QCOMPARE(window->document().tuning().state(), int(TuneSession::Entered));
        window->mnuChannel_Click();
        QCOMPARE(window->document().tuning().state(), int(TuneSession::None));
        QVERIFY(!tree->isVisible());

        // The dialog is cancelled as soon as it shows.
        QTimer::singleShot(0, [window] {
            if (auto* dialog = window->findChild<QDialog*>(QStringLiteral("frmEmbed")))
                dialog->reject();
        });
        window->menuAction(QStringLiteral("mnuRadio"))->trigger();
        QCOMPARE(window->viewMode(), int(MainWindow::RadioInfoView));
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
