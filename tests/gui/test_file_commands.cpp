// The File commands on the main window: Save and Save As, Open and the recent files, and the
// save question of New and of closing the window.

#include "EditorTestSupport.h"
#include "common/TestFiles.h"
#include "files/DataFile.h"
#include "files/RecentFiles.h"
#include "shell/FileCommands.h"
#include "shell/MainWindow.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::fileBytes;

namespace {

const QString Title = QStringLiteral("ORVANTE Programming Software");

// Answers the dialogs in turn (an empty text cancels); records the names Save As proposed.
struct FakeDialogs : FileDialogs {
    QStringList answers, proposed;
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
    QString openFile(const QString&) override { return next(); }
    QString saveFile(const QString&, const QString& name) override {
        proposed.append(name);
        return next();
    }
};

struct Fixture {
    QTemporaryDir dir;
    VirtualClock clock;
    orv::test::RecordingFeedback feedback;
    std::unique_ptr<MainWindow> window;
    FakeDialogs* dialogs = new FakeDialogs;

    Fixture() {
        window = std::make_unique<MainWindow>(
            orv::test::makeDocument(orv::test::editorCatalog(), clock, path("ORVANTE.ini")), feedback);
        new FileCommands(*window, std::unique_ptr<FileDialogs>(dialogs));
        window->show();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The data become those of `file` (saved there, so that Save writes it without asking).
    void belongTo(const QString& file) {
        QCOMPARE(session().save(file, feedback), SaveStatus::Ok);
        QVERIFY(QFile::remove(file));
    }
    // The data belong to a file that can no longer be written: its folder's name has been
    // taken by a file.
    void unwritable() {
        QVERIFY(QDir(dir.path()).mkdir("blocker"));
        belongTo(path("blocker/data.kvd"));
        QVERIFY(QDir(dir.path()).rmdir("blocker"));
        orv::test::putFile(path("blocker"), "x");
    }
    Document& session() { return window->document(); }
    QAction* item(const QString& name) { return window->menuAction(name); }
    QStringList recent() const { return RecentFiles(path("ORVANTE.ini")).entries(); }
    void changeASetting() {
        const SettingsSelection& sel = session().settings();
        const int next =
            (sel.index(Setting::SquelchLevel) + 1) % int(sel.items(Setting::SquelchLevel).size());
        QVERIFY(session().selectSetting(Setting::SquelchLevel, next));
    }
};

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    // Save without a file name in the caption is Save As; the name decides the format. Then
    // Save writes the same file at once, and Save As proposes it.
    void saveAfterStartUpIsSaveAs_data() {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("old");
        QTest::newRow("kvd") << false << "a.kvd" << false;
        QTest::newRow("pvlt") << false << "a.pvlt" << true;
        QTest::newRow("after a read") << true << "b.kvd" << false;
    }
    void saveAfterStartUpIsSaveAs() {
        QFETCH(bool, read);
        QFETCH(QString, name);
        QFETCH(bool, old);
        Fixture f;
        const QString path = f.path(name);
        if (read)
            orv::test::takeBytes(f.session(), f.session().data(), f.feedback);
        QCOMPARE(f.window->windowTitle(), read ? "Read Complete - " + Title : Title);
        f.changeASetting();
        f.dialogs->answers = {path};
        f.item("mnuFileSave")->trigger();
        QCOMPARE(fileBytes(path).size(), DataFileSize);
        QCOMPARE(fileBytes(path), serializeDataFile(f.session().data(), old));
        QCOMPARE(f.window->windowTitle(), Title + path);
        QVERIFY(!f.window->dataUnsaved() && f.item("mnuFileNew")->isEnabled());
        QCOMPARE(f.item("mnuRecentFile_1")->text(), " 1 " + path);

        f.changeASetting();
        f.item("mnuFileSave")->trigger();
        QCOMPARE(fileBytes(path), serializeDataFile(f.session().data(), old));
        f.item("mnuFileSaveAs")->trigger();
        QCOMPARE(f.dialogs->proposed, (QStringList{"", path}));
    }

    // Save As to a place that cannot be written says so and keeps the data unsaved, the
    // caption and the recent files as they were.
    void saveAsThatCannotWrite() {
        Fixture f;
        orv::test::putFile(f.path("some.kvd"), "x");
        for (const QString& target : {f.path("some.kvd/x.kvd"), QStringLiteral("/proc/orvante-test.kvd")}) {
            f.changeASetting();
            f.dialogs->answers = {target};
            f.item("mnuFileSaveAs")->trigger();
            QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Save File Error!")});
            QCOMPARE(f.feedback.shown[0].title, QStringLiteral("File Error"));
            QVERIFY(!QFileInfo::exists(target));
            QVERIFY(f.window->dataUnsaved());
            QCOMPARE(f.window->windowTitle(), Title);
            QCOMPARE(f.recent(), (QStringList{"", "", "", ""}));
            f.feedback.clear();
        }
    }

    // No question before Open, even with unsaved data. A file that has gone leaves the list.
    void openAndRecentFiles() {
        Fixture f;
        QStringList p;
        for (const char* name : {"a.kvd", "b.kvd", "c.kvd", "d.kvd", "e.pvlt"}) {
            p.append(f.path(QLatin1String(name)));
            QCOMPARE(writeDataFile(p.last(), f.session().data()), SaveStatus::Ok);
        }
        f.changeASetting();
        f.dialogs->answers = p;
        for (int i = 0; i < 5; ++i)
            f.item("mnuFileOpen")->trigger();
        QVERIFY(f.feedback.shown.isEmpty() && !f.window->dataUnsaved());
        QCOMPARE(f.recent(), (QStringList{p[4], p[3], p[2], p[1]}));
        f.item("mnuRecentFile_3")->trigger();
        QCOMPARE(f.window->windowTitle(), Title + p[2]);
        QCOMPARE(f.recent(), (QStringList{p[2], p[4], p[3], p[1]}));

        QVERIFY(QFile::remove(p[3]));
        f.item("mnuRecentFile_3")->trigger();
        QCOMPARE(f.feedback.texts(), QStringList{"The file isnot exit. Please confirm it."});
        QCOMPARE(f.recent(), (QStringList{p[2], p[4], p[1], ""}));
        QCOMPARE(f.item("mnuRecentFile_3")->text(), " 3 " + p[1]);
        QVERIFY(!f.item("mnuRecentFile_4")->isVisible() && f.item("seperator4")->isVisible());
        QCOMPARE(f.window->windowTitle(), Title + p[2]);
    }

    void newRightAfterStartUpDoesNothing() {
        Fixture f;
        f.changeASetting();
        const SettingsSelection edited = f.session().settings();
        f.window->mnuFileNew_Click();
        QVERIFY(f.feedback.shown.isEmpty() && f.session().settings() == edited);
    }

    // A frequency still being typed when the window closes is data the question is about:
    // it is committed first, so the question comes and Yes saves it.
    void anOpenCellEditIsAskedAbout() {
        Fixture f;
        auto* grid = f.window->findChild<QAbstractItemView*>(QStringLiteral("gridChan"));
        orv::test::clickCell(grid, 1, 1);
        auto* editor = f.window->findChild<QLineEdit*>(QStringLiteral("txtChFreq"));
        QTRY_VERIFY(editor->isVisible());
        editor->setText(QStringLiteral("150"));
        QVERIFY(!f.window->dataUnsaved()); // typing alone is not an edit yet
        const QString file = f.path("typed.kvd");
        f.dialogs->answers = {file};
        f.feedback.answers = {Answer::Yes};
        QVERIFY(f.window->close());
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Data hasn't been saved. Do you want to save them?")});
        Fixture g;
        QCOMPARE(g.session().load(file, g.feedback), LoadStatus::Ok);
        QCOMPARE(g.session().channels().rows[0].cells[ColRxFreq], QStringLiteral("150.00000"));
    }

    // New and closing go on after No, or after Yes when the data were written. A save that
    // wrote nothing (failed or cancelled) keeps the window and the data, still unsaved.
    void saveQuestion_data() {
        QTest::addColumn<bool>("closing");
        QTest::addColumn<int>("answer");
        // Save to "file" or "unwritable"; Save As cancelled ("") or given a path it cannot write
        // ("save as unwritable").
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("goesOn");
        for (const bool closing : {false, true}) {
            const char* c = closing ? "close" : "new";
            QTest::addRow("%s: yes, saved", c) << closing << int(Answer::Yes) << "file" << true;
            QTest::addRow("%s: yes, save failed", c) << closing << int(Answer::Yes) << "unwritable" << false;
            QTest::addRow("%s: yes, save as cancelled", c) << closing << int(Answer::Yes) << "" << false;
            QTest::addRow("%s: yes, save as failed", c) << closing << int(Answer::Yes) << "save as unwritable" << false;
            QTest::addRow("%s: no", c) << closing << int(Answer::No) << "file" << true;
            QTest::addRow("%s: cancel", c) << closing << int(Answer::Cancel) << "file" << false;
        }
    }
    void saveQuestion() {
        QFETCH(bool, closing);
        QFETCH(int, answer);
        QFETCH(QString, target);
        QFETCH(bool, goesOn);
        Fixture f;
        Document& s = f.session();
        const QString file = f.path("data.kvd");
        const bool saveAs = target.isEmpty() || target == "save as unwritable";
        if (saveAs)
            orv::test::takeBytes(s, s.data(), f.feedback);
        else if (target == "file")
            f.belongTo(file);
        else
            f.unwritable();
        if (target == "save as unwritable") {
            orv::test::putFile(f.path("blocker"), "x");
            f.dialogs->answers = {f.path("blocker/data.kvd")};
        }
        const QString caption = f.window->windowTitle();
        QCOMPARE(caption, saveAs ? "Read Complete - " + Title
                                           : Title + (target == "file" ? file : f.path("blocker/data.kvd")));
        const SettingsSelection fresh = s.settings();
        f.changeASetting();
        f.feedback.answers = {Answer(answer)};
        if (closing)
            f.window->close();
        else
            f.window->mnuFileNew_Click();

        QStringList texts{QStringLiteral("Data hasn't been saved. Do you want to save them?")};
        if (answer == int(Answer::Yes) && target.contains("unwritable"))
            texts.append("Save File Error!");
        QCOMPARE(f.feedback.texts(), texts);
        const orv::test::Shown& question = f.feedback.shown[0];
        QVERIFY(question.title == Title && question.icon == Icon::Exclamation &&
                question.buttons == Buttons::YesNoCancel);
        QCOMPARE(QFile::exists(file), answer == int(Answer::Yes) && target == "file");
        QCOMPARE(f.window->isVisible(), !(closing && goesOn));
        if (!goesOn) {
            QCOMPARE(f.window->windowTitle(), caption);
            QVERIFY(s.settingsChanged());
        } else if (!closing) {
            QCOMPARE(f.window->windowTitle(), Title);
            QVERIFY(s.settings() == fresh && !f.window->dataUnsaved() && !f.item("mnuFileNew")->isEnabled());
        }
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
