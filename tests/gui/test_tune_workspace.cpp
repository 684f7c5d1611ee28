// The tune view in the window against the virtual radio on a virtual clock: Operate > Tune,
// the tree's pages and items, the value bar, OK and Cancel, a failing item, the question about
// changed test channels, Exit Tune, and the port dialog while tune mode holds the port open.

#include "EditorTestSupport.h"
#include "RadioWindowFixture.h"
#include "Report.h"
#include "catalog/NumberText.h"
#include "editors/ChannelEditor.h"
#include "image/TuneTable.h"
#include "link/RadioConnection.h"
#include "document/TuneSession.h"
#include "shell/FileCommands.h"
#include "shell/MainWindow.h"
#include "shell/OperateCommands.h"
#include "sim/VirtualRadio.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneItemPage.h"
#include "tune/TuneWorkspace.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::RecordingFeedback;

namespace {

const QString Title = orv::test::WindowTitle;
const QString Interrupted = QStringLiteral("Connecting interrupted. Please try again!");

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// Test channel t's 16-byte record (t = 1..11).
QByteArray testRecord(const RadioData& d, int t) {
    return QByteArray(reinterpret_cast<const char*>(d.image.data()) + addr::TestChannels + 16 * (t - 1), 16);
}

struct Fixture : orv::test::RadioWindow {
    TuneWorkspace* tune = nullptr;

    Fixture() { tune = new TuneWorkspace(*window, runner()); }
    TuneSession& tuning() { return window->document().tuning(); }
    QList<QByteArray> tuneCommands() const { return connection.demoRadio()->log().tuneCommands; }
    void clickNode(const QString& key) {
        QTreeWidgetItem* item = tune->node(key);
        QVERIFY(item);
        QTreeWidget* tree = tune->tree();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }
    // Operate > Tune, then the log and the messages start afresh.
    void entered() {
        window->menuAction(QStringLiteral("mnuTune"))->trigger();
        QCOMPARE(tuning().state(), int(TuneSession::Entered));
        radio().clearLog();
        feedback.clear();
    }
    TuneItemPage* item() const { return tune->itemPage(); }
    TuneChannelsPage* channels() const { return tune->channelsPage(); }
};

} // namespace

class TestTuneWorkspace : public QObject {
    Q_OBJECT

private slots:
    // The README's picture of the tune view (ORVANTE_SCREENSHOT_DIR=docs/screenshots).
    void screenshotOfTheTuneView() {
        const QString dir = qEnvironmentVariable("ORVANTE_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("ORVANTE_SCREENSHOT_DIR is not set");
        Fixture f;
        f.entered();
        QVERIFY(f.window->grab().save(QDir(dir).filePath(QStringLiteral("tune-channels.png"))));
        f.clickNode(QStringLiteral("CTCDevW"));
        QVERIFY(f.item()->isVisible());
        QVERIFY(f.window->grab().save(QDir(dir).filePath(QStringLiteral("tune-view.png"))));
    }

    // Operate > Tune: the radio enters tune mode; the window shows the tune view with the
    // radio's test channels, the first one in use current, the model and range, the caption
    // and the check marks. Exit Tune ends tune mode and brings the channel view back.
    void enterAndExitTuneMode() {
        Fixture f;
        QVERIFY(!f.tune->isVisible());
        f.window->menuAction(QStringLiteral("mnuTune"))->trigger();
        QCOMPARE(f.radio().log().tuneEntries, 1);
        QVERIFY(f.feedback.shown.isEmpty());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("While tuning - ") + Title);
        QCOMPARE(f.window->viewMode(), int(MainWindow::TuneView));
        QVERIFY(f.window->menuAction(QStringLiteral("mnuTune"))->isChecked());
        QVERIFY(!f.window->menuAction(QStringLiteral("mnuChannel"))->isChecked());
        QVERIFY(f.tune->isVisible() && f.tune->tree()->isVisible());
        QVERIFY(!f.window->channelEditor()->isVisible());
        QVERIFY(f.channels()->isVisible());
        QVERIFY(!f.item()->isVisible());
        QCOMPARE(f.tune->radioLabel()->text(), QStringLiteral("VHF Seven"));
        QCOMPARE(f.tune->rangeLabel()->text(), QStringLiteral("136.00000 ~ 174.00000 MHz"));
        QVERIFY(f.tune->node(QStringLiteral("adjust"))->isExpanded());
        QCOMPARE(f.tune->node(QStringLiteral("adjust"))->childCount(), 7);
        QCOMPARE(f.tune->node(QStringLiteral("SqlOpen"))->text(0), QStringLiteral("Squelch Level 3"));

        // The grid shows the radio's test channels; the first in use is the current one.
        TuneTable expected;
        showTuneChannels(f.radio().memory(), expected, NumberFormat());
        const int current = firstTestChannelInUse(f.radio().memory());
        QVERIFY(current >= 1);
        QCOMPARE(f.window->document().currentTestChannel(), current);
        QCOMPARE(orv::test::cellText(f.channels()->grid(), 1, TuneColRxFreq), expected.rows[0].cells[TuneColRxFreq]);
        QVERIFY(f.channels()->optTestCh(current - 1)->isChecked());
        // Printing here gives the tune report of this radio and of the test channel chosen.
        QVERIFY(f.tuning().selectTestChannel(current + 1));
        const Report report = tuneReport(f.window->document(), QDateTime());
        QCOMPARE(std::get<TuneReport>(report.body).currentTestChannel, current + 1);
        QCOMPARE(std::get<TuneReport>(report.body).rangeText, f.tune->rangeLabel()->text());

        f.radio().clearLog();
        f.clickNode(QStringLiteral("exit"));
        QCOMPARE(f.radio().log().tuneExits, 1);
        QVERIFY(!f.radio().inTuneMode());
        QCOMPARE(f.tuning().state(), int(TuneSession::None));
        QCOMPARE(f.window->windowTitle(), Title);
        QVERIFY(!f.tune->isVisible() && f.window->channelEditor()->isVisible());
        QVERIFY(f.window->menuAction(QStringLiteral("mnuChannel"))->isChecked());
        QVERIFY(!f.window->menuAction(QStringLiteral("mnuTune"))->isChecked());
        QCOMPARE(f.window->viewMode(), int(MainWindow::ChannelView));

        // A radio that does not enter tune mode: the channel view stays, nothing checked anew.
        Fixture refused;
        refused.faults(QStringLiteral("no-tune-ack"));
        refused.window->menuAction(QStringLiteral("mnuTune"))->trigger();
        QCOMPARE(refused.feedback.texts(), QStringList{Interrupted});
        QVERIFY(!refused.tune->isVisible() && refused.window->channelEditor()->isVisible());
        QVERIFY(!refused.window->menuAction(QStringLiteral("mnuTune"))->isChecked());
        QCOMPARE(refused.window->windowTitle(), Title);
    }

    // Items from the tree: the item page with its caption, test channel and stored value;
    // another item leaves the first without storing; the same item again sends nothing; the
    // test page leaves the active item.
    void itemsFromTheTree() {
        Fixture f;
        f.entered();
        const int tc = f.window->document().currentTestChannel();
        const auto values = f.radio().memory().tuneValues();

        f.clickNode(QStringLiteral("SqlTight"));
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'C', tc}), bytes({'M', values[1], 1}),
                                                     bytes({'M', values[1], 1})}));
        QVERIFY(f.item()->isVisible() && !f.channels()->isVisible());
        QCOMPARE(f.item()->title(), QStringLiteral("Squelch Level 9"));
        QCOMPARE(f.item()->fraTuneCH()->title(), QStringLiteral("Tune CH %1").arg(tc));
        QCOMPARE(f.item()->lblTuneVal()->text(), QString::number(values[1]));
        QCOMPARE(f.item()->hsbTune()->value(), int(values[1]));
        TuneTable shown;
        showTuneChannels(f.radio().memory(), shown, NumberFormat());
        QCOMPARE(f.item()->lblRxfreq()->text(), shown.rows[std::size_t(tc - 1)].cells[TuneColRxFreq]);

        f.radio().clearLog();
        f.clickNode(QStringLiteral("SqlOpen"));
        QCOMPARE(f.tuneCommands().mid(0, 4), (QList<QByteArray>{bytes({'M', values[1], 1}), bytes({'C', tc}),
                                                               bytes({'C', tc}), bytes({'m', values[2], 1})}));
        QCOMPARE(f.item()->title(), QStringLiteral("Squelch Level 3"));

        f.radio().clearLog();
        f.clickNode(QStringLiteral("SqlOpen"));
        QVERIFY(f.tuneCommands().isEmpty());

        f.clickNode(QStringLiteral("testfreq"));
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'m', values[2], 1}), bytes({'C', tc})}));
        QVERIFY(f.channels()->isVisible() && !f.item()->isVisible());
        QCOMPARE(f.tuning().state(), int(TuneSession::ItemLeft));
        QVERIFY(f.feedback.shown.isEmpty());
    }

    // The value bar sends every move at once; OK stores the value in the radio and the data,
    // Cancel leaves the stored value as it was.
    void valueBarOkAndCancel() {
        Fixture f;
        f.entered();
        const int tc = f.window->document().currentTestChannel();
        const int stored = f.radio().memory().tuneValues()[0];
        f.clickNode(QStringLiteral("Battery"));
        f.radio().clearLog();

        QScrollBar* bar = f.item()->hsbTune();
        QCOMPARE(f.window->focusWidget(), bar);
        QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'B', stored + 1, 1}), bytes({'B', stored + 2, 1})}));
        QCOMPARE(f.item()->lblTuneVal()->text(), QString::number(stored + 2));
        QCOMPARE(f.radio().tuneLiveValue(), stored + 2);

        f.radio().clearLog();
        QTest::keyClick(bar, Qt::Key_Escape); // Cancel
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'B', stored, 1}), bytes({'C', tc})}));
        QCOMPARE(int(f.window->document().data().tuneValues()[0]), stored);
        QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Not stored: Battery Level keeps %1").arg(stored));
        QVERIFY(!f.item()->isVisible());

        f.clickNode(QStringLiteral("Battery"));
        QCOMPARE(bar->value(), stored);
        bar->setValue(stored - 10);
        f.radio().clearLog();
        QTest::keyClick(bar, Qt::Key_Return); // OK
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'B', stored - 10, 2}), bytes({'C', tc})}));
        QCOMPARE(int(f.window->document().data().tuneValues()[0]), stored - 10);
        QCOMPARE(int(f.radio().memory().tuneValues()[0]), stored - 10);
        QCOMPARE(f.window->statusBar()->currentMessage(),
                 QStringLiteral("Stored in the radio: Battery Level = %1").arg(stored - 10));
        QVERIFY(!f.item()->isVisible());
        QCOMPARE(f.tuning().state(), int(TuneSession::ItemLeft));
        QVERIFY(f.feedback.shown.isEmpty());

        // Enter on the focused Cancel button is Cancel, not OK.
        f.clickNode(QStringLiteral("Battery"));
        bar->setValue(stored + 5);
        f.radio().clearLog();
        f.item()->cmdCancel()->setFocus();
        QTest::keyClick(f.item()->cmdCancel(), Qt::Key_Return);
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'B', stored - 10, 1}), bytes({'C', tc})}));
    }

    // A deviation item on a test channel that transmits no signalling of its kind says so on
    // its page, and opens all the same; other items have no note.
    void itemNotesTellWhatIsMissing() {
        Fixture f;
        const int tc = firstTestChannelInUse(f.radio().memory());
        Record r = f.radio().memory().testChannel(tc - 1);
        r[7] = std::uint8_t((r[7] & 0x0F) | 0x30); // transmits CTC 88.5
        r[8] = 0x85;
        r[9] = 0x08;
        f.entered();
        QLabel* note = f.item()->lblTuneNote();
        const auto open = [&](const char* key) -> QString {
            f.clickNode(QLatin1String(key));
            return f.item()->isVisible() && note->isVisible() ? note->text() : QString();
        };
        QCOMPARE(open("Battery"), QString());
        QCOMPARE(open("CTCDevW"), QString());
        QCOMPARE(open("DCSDevN"), QStringLiteral("This test channel transmits no DCS: set its Tx CTC/DCS first"));
        Fixture g;
        Record off = g.radio().memory().testChannel(tc - 1);
        off[7] = std::uint8_t(off[7] & 0x0F);
        g.entered();
        g.clickNode(QStringLiteral("CTCDevN"));
        QCOMPARE(g.item()->lblTuneNote()->text(), QStringLiteral("This test channel transmits no CTC: set its Tx CTC/DCS first"));
        QVERIFY(g.item()->lblTuneNote()->isVisible() && g.item()->isVisible());
        QVERIFY(g.feedback.shown.isEmpty());
    }

    // A radio that refuses an item: the tune message, no item page. A radio that goes silent
    // inside an item: the moved value fails and the item page goes away.
    void failingItems() {
        Fixture f;
        f.entered();
        f.faults(QStringLiteral("tune-refuse:D"));
        f.clickNode(QStringLiteral("DCSDevW"));
        QCOMPARE(f.feedback.texts(), QStringList{Interrupted});
        QCOMPARE(f.feedback.shown[0].title, QStringLiteral("Tune Error"));
        QVERIFY(!f.item()->isVisible() && !f.channels()->isVisible());

        Fixture silent;
        silent.entered();
        silent.clickNode(QStringLiteral("CTCDevW"));
        QVERIFY(silent.item()->isVisible());
        silent.faults(QStringLiteral("tune-silent-after:1"));
        silent.radio().clearLog();
        QScrollBar* bar = silent.item()->hsbTune();
        bar->setValue(bar->value() + 1);
        QVERIFY(silent.feedback.shown.isEmpty());
        bar->setValue(bar->value() + 1);
        QCOMPARE(silent.feedback.texts(), QStringList{Interrupted});
        QVERIFY(!silent.item()->isVisible());
    }

    // A test channel edited and not written: entering an item asks first. Yes writes the test
    // channels (with the completion message) before the item; No enters at once.
    void changedTestChannelsBeforeAnItem() {
        Fixture f;
        f.entered();
        const int tc = f.window->document().currentTestChannel();
        // Toggle a step cell of a test channel in use: the grid holds an edit.
        orv::test::clickCell(f.channels()->grid(), tc, TuneColRxStep);
        QVERIFY(f.window->document().tuneDataChanged());
        f.feedback.answers = {Answer::Yes};
        f.clickNode(QStringLiteral("Battery"));
        QCOMPARE(f.feedback.texts(),
                 (QStringList{QStringLiteral("Data of tuning channel has been changed. Do you want write these to Radio? "),
                              QStringLiteral("Write data is complete. Press OK button to continue ...")}));
        QCOMPARE(f.radio().log().blocksWritten.size(), 22);
        QVERIFY(!f.window->document().tuneDataChanged());
        QVERIFY(f.item()->isVisible());
        QCOMPARE(testRecord(f.radio().memory(), tc), testRecord(f.window->document().data(), tc));

        Fixture no;
        no.entered();
        orv::test::clickCell(no.channels()->grid(), tc, TuneColRxStep);
        no.feedback.answers = {Answer::No};
        no.clickNode(QStringLiteral("Battery"));
        QVERIFY(no.radio().log().blocksWritten.isEmpty());
        QVERIFY(no.item()->isVisible());
        QCOMPARE(no.feedback.texts().size(), 1);
    }

    // The test-frequency editor is one of the window's cell editors: Copy and Paste work on
    // it, and commands finish it first.
    void frequencyEditorInTheWindow() {
        Fixture f;
        f.entered();
        const int tc = f.window->document().currentTestChannel();
        orv::test::clickCell(f.channels()->grid(), tc, TuneColRxFreq);
        QLineEdit* editor = f.channels()->frequencyEditor();
        QVERIFY(editor->isVisible());
        f.window->menuAction(QStringLiteral("mnuEditCopy"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), editor->text());
        QGuiApplication::clipboard()->setText(QStringLiteral("150.0"));
        f.window->menuAction(QStringLiteral("mnuEditPaste"))->trigger();
        QCOMPARE(editor->text(), QStringLiteral("150.0"));
        f.window->CommitCellEdits();
        QVERIFY(!editor->isVisible());
        QCOMPARE(f.window->document().tune().rows[std::size_t(tc - 1)].cells[TuneColRxFreq], QStringLiteral("150.00000"));
    }

    // "&Write Frequencies of Tune" writes the test channels and says so.
    void writeFrequenciesOfTune() {
        Fixture f;
        f.entered();
        const int tc = f.window->document().currentTestChannel();
        orv::test::clickCell(f.channels()->grid(), tc, TuneColTxStep);
        QTest::mouseClick(f.channels()->cmdSaveTnFq(), Qt::LeftButton);
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Write data is complete. Press OK button to continue ...")});
        QCOMPARE(f.radio().log().blocksWritten.size(), 22);
        QVERIFY(f.radio().inTuneMode());
        QCOMPARE(testRecord(f.radio().memory(), tc), testRecord(f.window->document().data(), tc));
        QVERIFY(f.channels()->isVisible());
    }

    // File New and opening a file from the tune view end tune mode first: the test channels of
    // a file never stand in for the radio's.
    void newDataLeaveTheTuneView() {
        Fixture f;
        new FileCommands(*f.window);
        f.entered();
        f.window->runCommand(MainWindow::Command::FileNew);
        QCOMPARE(f.radio().log().tuneExits, 1);
        QVERIFY(!f.radio().inTuneMode());
        QCOMPARE(f.window->viewMode(), int(MainWindow::ChannelView));
        QVERIFY(!f.tune->isVisible() && f.window->channelEditor()->isVisible());
        QCOMPARE(f.window->windowTitle(), Title);

        Fixture open;
        auto* files = new FileCommands(*open.window);
        const QString path = open.dir.filePath(QStringLiteral("radio.kvd"));
        QVERIFY(writeDataFile(path, open.session().data()) == SaveStatus::Ok);
        open.entered();
        QVERIFY(files->loadDataFile(path));
        QCOMPARE(open.radio().log().tuneExits, 1);
        QVERIFY(!open.radio().inTuneMode());
        QCOMPARE(open.window->viewMode(), int(MainWindow::ChannelView));
        QCOMPARE(open.window->windowTitle(), Title + path);
    }

    // Read from the tune view with an item active: the item is left, the radio read, and the
    // channel view shown.
    void readFromTheTuneView() {
        Fixture f;
        f.entered();
        f.clickNode(QStringLiteral("Battery"));
        f.window->menuAction(QStringLiteral("mnuRead"))->trigger();
        QCOMPARE(f.window->viewMode(), int(MainWindow::ChannelView));
        QVERIFY(!f.tune->isVisible() && f.window->channelEditor()->isVisible());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Read Complete - ") + Title);

        // A read that fails after leaving the item keeps the tune view, without the item page.
        Fixture failed;
        failed.entered();
        failed.clickNode(QStringLiteral("Battery"));
        failed.faults(QStringLiteral("stop-after-block:40"));
        failed.window->menuAction(QStringLiteral("mnuRead"))->trigger();
        QCOMPARE(failed.feedback.shown.size(), 1);
        QCOMPARE(failed.tuning().state(), int(TuneSession::None));
        QCOMPARE(failed.window->viewMode(), int(MainWindow::TuneView));
        QVERIFY(failed.tune->isVisible() && !failed.item()->isVisible());
    }
};

QTEST_MAIN(TestTuneWorkspace)
#include "test_tune_workspace.moc"
