// Operate > Check and Option > Check before Write in a window whose Write talks to the
// virtual radio: the dialog's rows, "No warnings.", leading to a cell or a list, the list
// following the data, and Write checked first and answered both ways.

#include "EditorTestSupport.h"
#include "RadioWindowFixture.h"
#include "catalog/IniFile.h"
#include "common/PlanSetup.h"
#include "document/TuneSession.h"
#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "shell/CheckCommand.h"
#include "shell/CheckDialog.h"
#include "shell/EditingArea.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneWorkspace.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::cell;

namespace {

const QString Band = QStringLiteral("the standard band 136.00000~174.00000 MHz");

struct Fixture : orv::test::RadioWindow {
    CheckCommand* check = new CheckCommand(*window, *operate);

    // A plan without warnings to start from.
    Fixture() { test::giveChannelsTheirOwnFrequencies(session()); }
    CheckDialog* dialog() const { return check->dialog(); }
    QStringList rows() const {
        QStringList out;
        for (int i = 0; i < dialog()->list()->count(); ++i)
            out << dialog()->list()->item(i)->text();
        return out;
    }
    void doubleClickRow(int row) {
        QVERIFY(QTest::qWaitForWindowExposed(dialog()));
        QListWidget* list = dialog()->list();
        const QRect r = list->visualItemRect(list->item(row));
        // As a mouse sends it: a click, then the second press as a double-click, and its release.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    QTableView* grid() const { return window->channelEditor()->grid(); }
    QString iniValue() {
        return IniFile(session().startup().productIniPath).readString("Options", "Check before Write", "none");
    }
};

} // namespace

class TestCheck : public QObject {
    Q_OBJECT
private slots:
    // Check finishes the cell being typed into, lists what it found, and leads to each place.
    void theDialogListsTheWarningsAndLeadsToThem() {
        Fixture f;
        f.session().setChannelNoCh(3, true); // the Priority CH of a new data set
        // CH 5's receive frequency typed and not yet entered: typing limits it to 176.
        f.grid()->setFocus();
        f.grid()->setCurrentIndex(cell(f.grid(), 5, ColRxFreq));
        QTest::keyClicks(f.grid(), "1");
        QTest::keyClicks(f.window->channelEditor()->frequencyEditor(), "99");
        f.window->menuAction("mnuCheck")->trigger();

        QVERIFY(f.dialog() && f.dialog()->isVisible());
        QCOMPARE(f.dialog()->windowTitle(), QStringLiteral("Check"));
        QVERIFY(!f.dialog()->isModal());
        QCOMPARE(f.rows(), QStringList({"CH 5: Rx Freq 176.00000 MHz is outside " + Band,
                                        "Priority CH: CH 3 is not in use (No CH is ticked)"}));
        QVERIFY(f.dialog()->list()->isVisible());
        QVERIFY(!f.dialog()->noWarningsLabel()->isVisible());
        QVERIFY(f.dialog()->countLabel()->text().startsWith("2 warnings."));

        // A double-click leads to the cell; the dialog stays for the next warning.
        f.grid()->setCurrentIndex(cell(f.grid(), 1, ColScan));
        f.doubleClickRow(0);
        QCOMPARE(f.grid()->currentIndex(), cell(f.grid(), 5, ColRxFreq));
        QCOMPARE(f.window->focusWidget(), f.grid());
        QVERIFY(f.dialog()->isVisible());
        QVERIFY(!f.dialog()->noteLabel()->isVisible());

        // Enter on the list leads to the settings list and does not close the dialog.
        f.dialog()->list()->setFocus();
        f.dialog()->list()->setCurrentRow(1);
        QTest::keyClick(f.dialog()->list(), Qt::Key_Return);
        QCOMPARE(f.window->focusWidget(), f.window->settingsPanel()->list(Setting::PriorityCh));
        QVERIFY(f.dialog()->isVisible());

        // The list follows the data: what is fixed leaves it, down to "No warnings.".
        f.session().setChannelCell(5, ColRxFreq, "145.00000");
        QCOMPARE(f.rows(), QStringList("Priority CH: CH 3 is not in use (No CH is ticked)"));
        QCOMPARE(f.dialog()->list()->currentRow(), 0);
        test::choose(f.window->settingsPanel()->list(Setting::PriorityCh), "OFF");
        QVERIFY(f.dialog()->noWarningsLabel()->isVisible());
        QCOMPARE(f.dialog()->noWarningsLabel()->text(), QStringLiteral("No warnings."));
        QVERIFY(!f.dialog()->list()->isVisible());
        QVERIFY(!f.dialog()->countLabel()->isVisible());

        // Escape closes it; nothing in the data changed by checking.
        QTest::keyClick(f.dialog(), Qt::Key_Escape);
        QVERIFY(!f.dialog()->isVisible());
        QVERIFY(f.feedback.shown.isEmpty());
    }

    void aPlanWithoutWarnings() {
        Fixture f;
        f.window->menuAction("mnuCheck")->trigger();
        QVERIFY(f.dialog()->noWarningsLabel()->isVisible());
        QVERIFY(!f.dialog()->list()->isVisible());
        QCOMPARE(f.dialog()->list()->count(), 0);
    }

    // A cell out of sight is scrolled into view.
    void leadingScrollsTheCellIntoView() {
        Fixture f;
        f.window->resize(500, 300);
        QTRY_VERIFY(f.window->editingArea()->vScroll()->isVisible());
        f.session().setChannelCell(15, ColTxFreq, "175.00000");
        f.window->runCommand(MainWindow::Command::Check);
        QCOMPARE(f.rows(), QStringList("CH 15: Tx Freq 175.00000 MHz is outside " + Band));
        QCOMPARE(f.window->editingArea()->vScroll()->value(), 0);
        f.doubleClickRow(0);
        QVERIFY(f.window->editingArea()->vScroll()->value() > 0);
        EditingArea* area = f.window->editingArea();
        const QRect cellRect = f.grid()->visualRect(cell(f.grid(), 15, ColTxFreq));
        const QRect inArea(f.grid()->viewport()->mapTo(area, cellRect.topLeft()), cellRect.size());
        QVERIFY(QRect(0, 0, area->vScroll()->x(), area->hScroll()->isVisible() ? area->hScroll()->y() : area->height())
                    .contains(inArea));
    }

    // Test channels lead to the tune grid only while it is shown; elsewhere the dialog says
    // where a place is.
    void placesTheViewDoesNotShow() {
        Fixture f;
        auto* tune = new TuneWorkspace(*f.window, f.runner());
        f.session().setTestChannelNoCh(4, false);
        f.session().setTestChannelCell(4, TuneColRxFreq, "131.00000");
        f.window->runCommand(MainWindow::Command::Check);
        QCOMPARE(f.rows(), QStringList("Test CH 4: Rx Freq 131.00000 MHz is outside " + Band));
        const QModelIndex before = f.grid()->currentIndex();
        f.doubleClickRow(0);
        QCOMPARE(f.dialog()->noteLabel()->text(),
                 QStringLiteral("Test CH 4 is a test channel: the tune view shows it on its page "
                                "\"Tune Channels Setting\" (Operate > Tune)."));
        QVERIFY(f.dialog()->noteLabel()->isVisible());
        QCOMPARE(f.grid()->currentIndex(), before);

        // In the tune view: the radio's test channels (the demo radio's 1-5 in use).
        f.window->menuAction("mnuTune")->trigger();
        QCOMPARE(f.session().tuning().state(), int(TuneSession::Entered));
        f.session().setTestChannelCell(2, TuneColTxFreq, "175.00000");
        f.session().setChannelCell(7, ColRxFreq, "000.00000");
        f.window->runCommand(MainWindow::Command::Check);
        QCOMPARE(f.rows(), QStringList({"CH 7: the channel is in use but has no receive frequency (Rx Freq 000.00000 MHz)",
                                        "Test CH 2: Tx Freq 175.00000 MHz is outside " + Band}));
        f.doubleClickRow(1);
        QTableView* tuneGrid = tune->channelsPage()->grid();
        QCOMPARE(tuneGrid->currentIndex(), cell(tuneGrid, 2, TuneColTxFreq));
        QCOMPARE(f.window->focusWidget(), tuneGrid);
        QVERIFY(!f.dialog()->noteLabel()->isVisible());
        f.doubleClickRow(0);
        QCOMPARE(f.dialog()->noteLabel()->text(),
                 QStringLiteral("CH 7 is in the channel table: Option > Channel and Function shows it."));
    }

    // Off by default: Write sends without checking.
    void writeWithoutCheckBeforeWrite() {
        Fixture f;
        QAction* option = f.window->menuAction("mnuCheckBeforeWrite");
        QVERIFY(option->isCheckable() && !option->isChecked());
        f.session().setChannelCell(2, ColRxFreq, "175.00000");
        f.window->menuAction("mnuWrite")->trigger();
        QCOMPARE(f.radio().log().blocksWritten.size(), 38);
        QCOMPARE(f.session().origin(), Origin::Written);
        QVERIFY(f.dialog() == nullptr);
    }

    // On: the check runs after the cell edits end and before anything goes to the radio.
    void checkBeforeWriteAnsweredNo() {
        Fixture f;
        f.window->menuAction("mnuCheckBeforeWrite")->trigger();
        QVERIFY(f.check->checkBeforeWrite());
        QCOMPARE(f.iniValue(), QStringLiteral("1"));
        const RadioData radioBefore = f.radio().memory();

        f.grid()->setFocus();
        f.grid()->setCurrentIndex(cell(f.grid(), 2, ColTxFreq));
        QTest::keyClicks(f.grid(), "1");
        QTest::keyClicks(f.window->channelEditor()->frequencyEditor(), "75");
        f.feedback.answers = {Answer::No};
        f.window->toolButton("Write")->trigger();

        QCOMPARE(f.feedback.shown.size(), 1);
        const orv::test::Shown& q = f.feedback.shown[0];
        QCOMPARE(q.kind, orv::test::Shown::Question);
        QCOMPARE(q.title, QStringLiteral("Check before Write"));
        QCOMPARE(q.buttons, Buttons::YesNo);
        QCOMPARE(q.text, "The check found 1 warning:\n\nCH 2: Tx Freq 175.00000 MHz is outside " + Band +
                             "\n\nWrite to the radio anyway?");
        QVERIFY(f.radio().log().blocksWritten.isEmpty());
        QVERIFY(f.feedback.progress.isEmpty());
        QVERIFY(f.radio().memory() == radioBefore);
        QVERIFY(f.session().origin() != Origin::Written);
        QVERIFY(f.session().dataUnsaved());
        // The list to work from.
        QVERIFY(f.dialog() && f.dialog()->isVisible());
        QCOMPARE(f.dialog()->list()->count(), 1);
    }

    void checkBeforeWriteAnsweredYes() {
        Fixture f;
        f.window->menuAction("mnuCheckBeforeWrite")->trigger();
        for (int ch = 1; ch <= 14; ++ch) // fourteen warnings; the question lists ten
            f.session().setChannelCell(ch, ColRxFreq, "000.00000");
        f.feedback.answers = {Answer::Yes};
        f.window->menuAction("mnuWrite")->trigger();
        QVERIFY(f.feedback.shown[0].text.startsWith("The check found 14 warnings:\n\nCH 1: "));
        QVERIFY(f.feedback.shown[0].text.contains("\nCH 10: "));
        QVERIFY(!f.feedback.shown[0].text.contains("CH 11: "));
        QVERIFY(f.feedback.shown[0].text.endsWith("\n... and 4 more\n\nWrite to the radio anyway?"));
        QCOMPARE(f.radio().log().blocksWritten.size(), 38);
        QCOMPARE(f.session().origin(), Origin::Written);
        ChannelTable inRadio;
        showChannels(f.radio().memory(), inRadio, NumberFormat());
        QCOMPARE(inRadio.rows[0].cells[ColRxFreq], QStringLiteral("000.00000"));
        QVERIFY(f.dialog() == nullptr);

        // Nothing to say: no question at all.
        f.feedback.clear();
        f.radio().clearLog();
        test::giveChannelsTheirOwnFrequencies(f.session());
        f.window->menuAction("mnuWrite")->trigger();
        QCOMPARE(f.feedback.texts(), QStringList("Write data is complete. Press OK button to continue ..."));
        QCOMPARE(f.radio().log().blocksWritten.size(), 38);
    }

    // The check mark is kept in the program's INI with the rest of the file, and read at
    // start-up.
    void checkBeforeWriteIsRemembered() {
        Fixture f;
        const QString ini = f.session().startup().productIniPath;
        QVERIFY(IniFile(ini).writeString("Comm Port", "Common Port", "3"));
        QCOMPARE(f.iniValue(), QStringLiteral("none"));
        f.window->menuAction("mnuCheckBeforeWrite")->trigger();
        QCOMPARE(f.iniValue(), QStringLiteral("1"));
        QCOMPARE(IniFile(ini).readString("Comm Port", "Common Port", ""), QStringLiteral("3"));

        MainWindow second(test::makeDocument(test::twoModelCatalog(), f.clock, ini), f.feedback);
        OperateCommands operate(second, f.connection);
        auto* remembered = new CheckCommand(second, operate);
        QVERIFY(remembered->checkBeforeWrite());
        QVERIFY(second.menuAction("mnuCheckBeforeWrite")->isChecked());

        f.window->menuAction("mnuCheckBeforeWrite")->trigger();
        QCOMPARE(f.iniValue(), QStringLiteral("0"));
        QVERIFY(!f.check->checkBeforeWrite());
    }
};

QTEST_MAIN(TestCheck)
#include "test_check.moc"
