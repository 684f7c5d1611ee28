// Undo and redo in the window: every kind of change one step with its name, back to the
// saved state without a needless question, an Open and a Read undone with the edits they
// replaced, New starting afresh, and the keys.

#include "RadioWindowFixture.h"
#include "common/TestFiles.h"
#include "document/TuneSession.h"
#include "editors/ChannelEditor.h"
#include "shell/FileCommands.h"
#include "shell/UndoHistory.h"

#include <QAction>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>

using namespace orv;
using namespace orv::gui;

namespace {

struct OpenDialog : FileDialogs {
    QStringList answers;
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
    QString openFile(const QString&) override { return next(); }
    QString saveFile(const QString&, const QString&) override { return next(); }
};

struct Fixture : test::RadioWindow {
    OpenDialog* dialogs = new OpenDialog;
    FileCommands* files = new FileCommands(*window, std::unique_ptr<FileDialogs>(dialogs));
    UndoHistory* history = new UndoHistory(*window);
    Document& doc = session();

    QString undoText() const { return history->undoAction()->text(); }
    void undo() { history->undoAction()->trigger(); }
    void redo() { history->redoAction()->trigger(); }
    QString file(const QString& name) const { return dir.filePath(name); }
};

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    // Each kind of change is one step named in the menu; undo brings the state before it back,
    // redo the state after it.
    void everyKindOfChange_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("menu");
        QTest::newRow("cell") << "cell" << "&Undo Edit of CH 3 Rx Freq(MHz)";
        QTest::newRow("toggle") << "toggle" << "&Undo Edit of CH 2 Busy Lockout";
        QTest::newRow("signalling") << "signalling" << "&Undo Edit of CH 1 Tx CTC/DCS";
        QTest::newRow("No CH") << "noch" << "&Undo No CH of CH 5";
        QTest::newRow("No Tx") << "notx" << "&Undo No Tx of CH 6";
        QTest::newRow("settings list") << "setting" << "&Undo Tx TOT";
        QTest::newRow("model") << "model" << "&Undo Model Change";
        QTest::newRow("test channel") << "test" << "&Undo Edit of Test CH 2 Step (kHz)";
        QTest::newRow("information text") << "info" << "&Undo Radio Information";
        QTest::newRow("several at once") << "group" << "&Undo Paste of 3 Cells";
    }
    void everyKindOfChange() {
        QFETCH(QString, kind);
        QFETCH(QString, menu);
        Fixture f;
        f.feedback.answers = {Answer::Yes};
        const DocumentState before = f.doc.state();
        QVERIFY(!f.history->undoAction()->isEnabled());
        if (kind == "cell")
            QVERIFY(f.doc.setChannelCell(3, ColRxFreq, QStringLiteral("150.00000")));
        else if (kind == "toggle")
            QVERIFY(f.doc.toggleChannelCell(2, ColBusy));
        else if (kind == "signalling")
            QVERIFY(f.doc.setChannelCell(1, ColTxSignal, QStringLiteral("DCS 023")));
        else if (kind == "noch")
            QVERIFY(f.doc.setChannelNoCh(5, true));
        else if (kind == "notx")
            QVERIFY(f.doc.setChannelNoTx(6, true));
        else if (kind == "setting")
            QVERIFY(f.doc.selectSetting(Setting::TxTot, 5));
        else if (kind == "model")
            QVERIFY(f.doc.chooseModel(1, f.feedback));
        else if (kind == "test")
            QVERIFY(f.doc.toggleTestStep(2, TuneColRxStep));
        else if (kind == "info")
            QVERIFY(f.doc.setInfoText(QStringLiteral("Depot")));
        else {
            Document::Step step(f.doc, QStringLiteral("Paste of 3 Cells"));
            for (int ch = 1; ch <= 3; ++ch)
                QVERIFY(f.doc.setChannelCell(ch, ColRxFreq, QStringLiteral("151.00000")));
        }
        const DocumentState after = f.doc.state();
        QCOMPARE(f.undoText(), menu);
        // A model change and test channels are not unsaved data by the written rule.
        QVERIFY(f.window->dataUnsaved() || kind == "model" || kind == "test");

        f.undo();
        QVERIFY(f.doc.data() == before.data && f.doc.channels() == before.channels &&
                f.doc.settings() == before.settings && f.doc.tune() == before.tune);
        QCOMPARE(f.doc.selectedModel(), before.selectedModel);
        QVERIFY(!f.window->dataUnsaved()); // back at start-up: nothing to save
        QVERIFY(!f.history->undoAction()->isEnabled());
        QCOMPARE(f.history->redoAction()->text(), QString(menu).replace("&Undo", "&Redo"));

        f.redo();
        QVERIFY(f.doc.data() == after.data && f.doc.channels() == after.channels && f.doc.tune() == after.tune);
        QVERIFY(f.window->dataUnsaved());
        // What the editors show follows: the grid cell of the first case, the model frame.
        if (kind == "cell")
            QCOMPARE(f.window->channelEditor()->grid()->model()->index(3, ColRxFreq).data().toString(),
                     QStringLiteral("150.00000"));
    }

    // Undoing back to the state last saved asks no needless question; past it, the data are
    // unsaved again, and redo comes back to the saved state.
    void backToTheSavedState() {
        Fixture f;
        const QString path = f.file(QStringLiteral("a.kvd"));
        QVERIFY(f.doc.setChannelCell(4, ColRxFreq, QStringLiteral("140.00000")));
        f.dialogs->answers = {path};
        QVERIFY(f.files->mnuFileSaveAs_Click());
        QVERIFY(f.doc.setChannelCell(4, ColRxFreq, QStringLiteral("141.00000")));
        QVERIFY(f.window->dataUnsaved());
        f.undo();
        QVERIFY(!f.window->dataUnsaved());
        QCOMPARE(f.window->windowTitle(), test::Title + path);
        f.undo(); // before the save: not what the file holds
        QVERIFY(f.window->dataUnsaved());
        f.redo();
        QVERIFY(!f.window->dataUnsaved());
        f.feedback.clear();
        QVERIFY(f.window->close()); // no question
        QVERIFY(f.feedback.shown.isEmpty());
    }

    // An Open and a Read replace the data without a question; undoing them brings back the
    // edits, the caption, the file and the unsaved state that were there. No radio is asked.
    void openAndReadUndone() {
        Fixture f;
        const QString other = f.file(QStringLiteral("other.kvd"));
        QCOMPARE(writeDataFile(other, sim::demoRadioImage()), SaveStatus::Ok);
        QVERIFY(f.doc.setChannelCell(2, ColTxFreq, QStringLiteral("155.00000")));
        const DocumentState edited = f.doc.state();

        f.dialogs->answers = {other};
        f.window->mnuFileOpen_Click();
        QCOMPARE(f.window->windowTitle(), test::Title + other);
        QCOMPARE(f.undoText(), QStringLiteral("&Undo Open"));
        f.window->mnuRead_Click();
        QCOMPARE(f.undoText(), QStringLiteral("&Undo Read"));
        f.radio().clearLog();

        f.undo();
        QCOMPARE(f.window->windowTitle(), test::Title + other);
        QVERIFY(!f.window->dataUnsaved());
        f.undo();
        QCOMPARE(f.doc.channels(), edited.channels);
        QCOMPARE(f.window->windowTitle(), test::Title);
        QCOMPARE(f.doc.currentFileName(), QString());
        QVERIFY(f.window->dataUnsaved() && f.doc.channelDataChanged());
        QCOMPARE(f.radio().log().openingCodes, 0);

        f.redo();
        f.redo();
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Read Complete - ") + test::Title);
    }

    // New, and tune mode, start afresh; the keys reach undo and redo; the limit is 1000.
    void freshStartsAndKeys() {
        Fixture f;
        QCOMPARE(f.history->stack()->undoLimit(), 1000);
        QVERIFY(f.doc.setChannelNoCh(7, true));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!f.doc.channels().rows[6].noCh);
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(f.doc.channels().rows[6].noCh);
        QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(f.window.get(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(f.doc.channels().rows[6].noCh);

        f.window->mnuRead_Click();
        QVERIFY(f.doc.setChannelNoCh(8, true));
        f.feedback.answers = {Answer::No};
        f.window->mnuFileNew_Click();
        QVERIFY(!f.history->undoAction()->isEnabled());

        QVERIFY(f.doc.setChannelNoCh(9, true));
        QVERIFY(f.doc.tuning().enterTuneMode(f.runner()));
        QVERIFY(!f.history->undoAction()->isEnabled());
        QVERIFY(f.doc.toggleTestStep(3, TuneColTxStep)); // an edit in the tune view is a step
        QVERIFY(f.history->undoAction()->isEnabled());
    }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
