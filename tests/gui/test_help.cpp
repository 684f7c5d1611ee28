// The Help menu: which manual a help file name leads to, the messages when there is none,
// the help window's contents page and its search.

#include "common/RecordingFeedback.h"
#include "common/TestFiles.h"
#include "common/TestSetup.h"
#include "shell/HelpCommands.h"
#include "shell/HelpViewer.h"
#include "shell/MainWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using Cmd = MainWindow::Command;

namespace {

const QString BuiltIn = QStringLiteral(":/orvante/help/ORVANTE.html");

struct Fixture {
    VirtualClock clock;
    test::RecordingFeedback feedback;
    std::unique_ptr<MainWindow> window;
    HelpCommands* help = nullptr;

    explicit Fixture(const QString& helpFile) {
        StartupValues v = orv::test::testStartup(0);
        v.helpFilePath = helpFile;
        window = std::make_unique<MainWindow>(std::make_unique<Document>(v, ModelCatalog(), clock, NumberFormat()),
                                              feedback);
        window->show();
        help = new HelpCommands(*window);
    }
    HelpViewer* open(Cmd command) {
        window->runCommand(command);
        HelpViewer* viewer = help->viewer();
        if (viewer && !QTest::qWaitForWindowActive(viewer))
            return nullptr;
        return viewer;
    }
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    // Same base name, .html, beside the help file (any letter case), else in the installed
    // folder, else built in; a name with no manual anywhere gives none and says why.
    void manualForHelpFile_data() {
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<QString>("manual");
        for (const char* page : {"beside/ORVANTE.html", "case/orvante.html", "installed/Radio.html"}) {
            QDir().mkpath(QFileInfo(path(page)).path());
            QVERIFY(test::putFile(path(page), "<h1>x</h1>"));
        }
        QTest::newRow("beside") << path("beside/ORVANTE.hlp") << path("beside/ORVANTE.html");
        QTest::newRow("beside, other case") << path("case/ORVANTE.hlp") << path("case/orvante.html");
        QTest::newRow("installed") << path("nowhere/Radio.hlp") << path("installed/Radio.html");
        QTest::newRow("built in") << path("nowhere/ORVANTE.hlp") << BuiltIn;
        QTest::newRow("no manual") << path("nowhere/Other.hlp") << QString();
    }
    void manualForHelpFile() {
        QFETCH(QString, helpFile);
        QFETCH(QString, manual);
        QString reason;
        QCOMPARE(HelpCommands::findManual(helpFile, path("installed"), &reason), manual);
        QCOMPARE(reason.isEmpty(), !manual.isEmpty());
        if (manual.isEmpty())
            QVERIFY2(reason.contains("Other.html") && reason.contains(path("installed")), qPrintable(reason));
    }

    // No help file, or one that leads to no manual: a message, and no help window.
    void noManual_data() {
        QTest::addColumn<QString>("helpFile");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::newRow("empty path")
            << QString() << "Unable to display Help Contents. There is no Help associated with this project."
            << int(Icon::Information) << "Read Complete - ORVANTE Programming Software";
        QTest::newRow("unknown name")
            << path("nowhere/Other.hlp") << "The help file " + path("nowhere/Other.hlp") << int(Icon::None)
            << "ORVANTE Programming Software";
    }
    void noManual() {
        QFETCH(QString, helpFile);
        QFETCH(QString, text);
        QFETCH(int, icon);
        QFETCH(QString, title);
        Fixture f(helpFile);
        f.window->setWindowTitle(QStringLiteral("Read Complete - ORVANTE Programming Software"));
        for (Cmd c : {Cmd::HelpContents, Cmd::HelpSearch}) {
            f.feedback.clear();
            f.window->runCommand(c);
            QCOMPARE(f.feedback.shown.size(), 1);
            QVERIFY2(f.feedback.shown[0].text.startsWith(text), qPrintable(f.feedback.shown[0].text));
            QCOMPARE(int(f.feedback.shown[0].icon), icon);
            QCOMPARE(f.feedback.shown[0].title, title);
            QVERIFY(!f.help->viewer());
        }
    }

    // Contents opens one help window on the built-in manual's contents, and brings it back
    // to the top after the reader moved on.
    void contents() {
        Fixture f(path("nowhere/ORVANTE.hlp"));
        HelpViewer* viewer = f.open(Cmd::HelpContents);
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("qrc") + BuiltIn));
        QVERIFY(viewer->browser()->toPlainText().startsWith("ORVANTE Programming Software - User Manual"));
        QCOMPARE(viewer->browser()->verticalScrollBar()->value(), 0);

        viewer->browser()->setSource(
            QUrl(QStringLiteral("qrc") + BuiltIn + QStringLiteral("#troubleshooting")));
        QVERIFY(viewer->browser()->verticalScrollBar()->value() > 0);
        QCOMPARE(f.open(Cmd::HelpContents), viewer);
        QCOMPARE(viewer->browser()->verticalScrollBar()->value(), 0);
        QVERIFY(f.feedback.shown.isEmpty());
    }

    // Search puts the cursor in the field; Enter lists the sections holding every word and
    // marks the first place; Enter again goes on to the next place; F3 goes round the page.
    void search() {
        QDir().mkpath(path("small"));
        test::putFile(path("small/ORVANTE.html"),
                      "<h1 id='top'>Manual</h1><p>Start here.</p>"
                      "<h2 id='one'>One</h2><p>The alpha cable.</p>"
                      "<h2 id='two'>Two</h2><p>Alpha and beta, then alpha again.</p>"
                      "<h3 id='three'>Three</h3><p>Beta only.</p>");
        Fixture f(path("small/ORVANTE.hlp"));
        HelpViewer* viewer = f.open(Cmd::HelpSearch);
        QVERIFY(viewer);
        QCOMPARE(QApplication::focusWidget(), viewer->searchField());

        QTest::keyClicks(viewer->searchField(), "Beta ALPHA");
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);
        QCOMPARE(viewer->foundSections(), QStringList{"Two"});
        QCOMPARE(viewer->browser()->source().fragment(), QStringLiteral("two"));
        // "Beta ALPHA" does not stand together: the first word is marked, in section Two.
        const QTextCursor first = viewer->browser()->textCursor();
        QCOMPARE(first.selectedText().toLower(), QStringLiteral("beta"));
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);
        const QTextCursor next = viewer->browser()->textCursor();
        QCOMPARE(next.selectedText().toLower(), QStringLiteral("beta"));
        QVERIFY(next.position() > first.position());
        QTest::keyClick(viewer, Qt::Key_F3); // round the end, back to the first place
        QCOMPARE(viewer->browser()->textCursor().position(), first.position());

        QCOMPARE(viewer->search("beta"), 2);
        QCOMPARE(viewer->foundSections(), (QStringList{"Two", QStringLiteral("Two \u203a Three")}));
        QCOMPARE(viewer->search("gamma"), 0);
    }

    // Every link of the manual's contents and cross-references leads to a section.
    void manualLinksResolve() {
        HelpCommands::builtInHelpFolder(); // makes the built-in copy available
        QFile page(BuiltIn);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QSet<QString> ids;
        for (const auto& m : QRegularExpression(QStringLiteral("id=\"([^\"]+)\"")).globalMatch(html))
            ids.insert(m.captured(1));
        QVERIFY(ids.contains("troubleshooting"));
        for (const auto& m : QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html))
            QVERIFY2(ids.contains(m.captured(1)), qPrintable(m.captured(1)));
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
