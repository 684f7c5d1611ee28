// The test-channel page of the tune workspace driven as a user: step cells, the frequency
// editor with its check and arrow keys, the signalling dialog, the option and boxes beside
// each row and the colours that tell what is in force and which channel is tuned.

#include "EditorTestSupport.h"
#include "editors/SignalDialog.h"
#include "image/TuneTable.h"
#include "tune/TuneChannelsPage.h"
#include "tune/TuneGridModel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>

using namespace orv;
using namespace orv::gui;
using namespace orv::test;

namespace {

struct Fixture : EditorSession {
    TuneChannelsPage page{session, feedback};
    QTableView* grid = page.grid();
    QLineEdit* freq = page.frequencyEditor();
    QSignalSpy edits{&session, &Document::changed};

    Fixture() {
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
    }
    const TuneRow& row(int t) const { return session.tune().rows[size_t(t - 1)]; }
    // The test channels as a radio read gives them (not an edit): `change` applied to what
    // is shown now, stored in the records, read back; then `current` made the test channel.
    void showRecords(const std::function<void(TuneTable&)>& change, int current = 0) {
        TuneTable table = session.tune();
        change(table);
        RadioData d = session.data();
        readTuneChannels(table, d, session.numbers());
        takeBytes(session, d, feedback);
        if (current)
            QVERIFY(session.selectTestChannel(current));
        edits.clear();
    }
    // Puts test channels in use (receive and transmit).
    void use(std::initializer_list<int> channels, int current = 0) {
        showRecords([&](TuneTable& t) {
            for (int c : channels)
                t.rows[size_t(c - 1)].noCh = t.rows[size_t(c - 1)].noTx = false;
        }, current);
    }
    void setCells(int t, int column, const char* text, const char* step) {
        showRecords([&](TuneTable& table) {
            table.rows[size_t(t - 1)].cells[size_t(column)] = QLatin1String(text);
            table.rows[size_t(t - 1)].cells[size_t(column + 1)] = QLatin1String(step);
        });
    }
    void setRx(int t, const char* frequency, const char* step) { setCells(t, TuneColRxFreq, frequency, step); }
    void setNoTx(int t) {
        showRecords([&](TuneTable& table) { table.rows[size_t(t - 1)].noTx = true; }, session.currentTestChannel());
    }
    void pressOn(int r, int c, Qt::Key key) {
        grid->setFocus();
        grid->setCurrentIndex(cell(grid, r, c));
        QTest::keyClick(grid, key);
    }
    QColor face() const { return grid->palette().color(QPalette::Button); }
    QColor ink() const { return grid->palette().color(QPalette::Text); }
    bool untouched() const { return edits.isEmpty() && !session.tuneDataChanged(); }
};

} // namespace

class TestTuneChannels : public QObject {
    Q_OBJECT
private slots:
    void showsTheTableWithoutMarkingItChanged() {
        Fixture f;
        QCOMPARE(f.page.objectName(), QStringLiteral("fraTuneSet"));
        QCOMPARE(cellText(f.grid, 0, 0), QStringLiteral("CH No."));
        QCOMPARE(cellText(f.grid, 0, 4), QStringLiteral("Tx Freq (MHz)"));
        QCOMPARE(cellText(f.grid, 11, 0), QStringLiteral("CH 11"));
        // The new image's test channels: the model's range start, every box ticked.
        QCOMPARE(cellText(f.grid, 4, 1), QStringLiteral("136.00000"));
        QVERIFY(f.page.chkTuneCH(3)->isChecked() && f.page.chkTuneTx(3)->isChecked());
        QVERIFY(!f.page.chkTuneTx(3)->isEnabled() && !f.page.optTestCh(3)->isEnabled());
        QCOMPARE(cellColour(f.grid, 4, 2), f.face());

        f.use({2, 3}, 3);
        const QRect rowCell = f.grid->visualRect(cell(f.grid, 3, 1));
        const int rowMiddle = f.grid->viewport()->mapTo(&f.page, rowCell.center()).y();
        QVERIFY(qAbs(f.page.optTestCh(2)->geometry().center().y() - rowMiddle) <= 2);
        QVERIFY(f.page.optTestCh(2)->isChecked());
        QVERIFY(!f.page.chkTuneCH(2)->isEnabled() && !f.page.chkTuneTx(2)->isEnabled());
        QVERIFY(f.page.chkTuneCH(1)->isEnabled() && f.page.chkTuneTx(1)->isEnabled());
        QCOMPARE(f.page.chkTuneTx(1)->accessibleName(), QStringLiteral("No Tx, CH 2"));
        QVERIFY(f.untouched());
    }

    void coloursTellWhatIsInForceAndWhichChannelIsTuned() {
        Fixture f;
        f.use({2, 3, 4}, 4);
        f.setNoTx(4);
        QCOMPARE(cellColour(f.grid, 1, 1), f.face()); // No CH
        QCOMPARE(cellColour(f.grid, 2, 6), f.ink());
        QCOMPARE(cellColour(f.grid, 4, 3), TestChannelColour);
        QCOMPARE(cellColour(f.grid, 4, 4), f.face()); // the tuned channel's No Tx side

        f.page.chkTuneTx(2)->click();
        QCOMPARE(cellColour(f.grid, 3, 4), f.face());
        QCOMPARE(cellColour(f.grid, 3, 1), f.ink());
        f.page.chkTuneCH(1)->click();
        QCOMPARE(cellColour(f.grid, 2, 1), f.face());
        QVERIFY(!f.page.optTestCh(1)->isEnabled() && !f.page.chkTuneTx(1)->isEnabled());
        QVERIFY(f.session.tuneDataChanged());
        QCOMPARE(f.edits.size(), 2);
        f.page.chkTuneCH(1)->click();
        QVERIFY(f.page.optTestCh(1)->isEnabled() && f.page.chkTuneTx(1)->isEnabled());
        QCOMPARE(cellColour(f.grid, 2, 4), f.ink());
    }

    void choosingTheTestChannel() {
        Fixture f;
        f.use({2, 3}, 3);
        QSignalSpy chosen{&f.page, &TuneChannelsPage::testChannelChosen};
        f.page.optTestCh(1)->click();
        QCOMPARE(f.session.currentTestChannel(), 2);
        QCOMPARE(chosen.value(0).value(0).toInt(), 2);
        QCOMPARE(cellColour(f.grid, 2, 5), TestChannelColour);
        QCOMPARE(cellColour(f.grid, 3, 5), f.ink());
        QVERIFY(!f.page.chkTuneCH(1)->isEnabled() && f.page.chkTuneCH(2)->isEnabled());
        QVERIFY(!f.session.tuneDataChanged()); // a choice, not an edit of the test channels

        // A test channel out of use cannot be chosen.
        QTest::mouseClick(f.page.optTestCh(6), Qt::LeftButton);
        QCOMPARE(f.session.currentTestChannel(), 2);
        QVERIFY(!f.page.optTestCh(6)->isChecked());
    }

    void stepCellsToggleAndSnapTheFrequency() {
        Fixture f;
        f.use({1, 2});
        f.setRx(1, "146.52500", "6.25");
        clickCell(f.grid, 1, 2);
        QCOMPARE(cellText(f.grid, 1, 2), QStringLiteral("5.00"));
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("146.52500"));
        QVERIFY(f.session.tuneDataChanged());
        QCOMPARE(f.edits.size(), 1);

        f.setRx(1, "146.53125", "6.25");
        f.pressOn(1, 2, Qt::Key_Space);
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("146.53000"));
        clickCell(f.grid, 1, 2);
        QCOMPARE(cellText(f.grid, 1, 2), QStringLiteral("6.25"));
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("146.53125"));

        // Transmit steps too, limited to the model's extended range (130..176 MHz).
        f.setCells(2, TuneColTxFreq, "176.00000", "6.25");
        clickCell(f.grid, 2, 5);
        QCOMPARE(cellText(f.grid, 2, 4), QStringLiteral("176.00000"));
    }

    void cellsOutOfForceAndHeadersDoNothing() {
        Fixture f;
        f.use({2});
        f.setNoTx(2);
        clickCell(f.grid, 1, 2);    // No CH row
        f.pressOn(3, 1, Qt::Key_1); // No CH row, digit
        clickCell(f.grid, 2, 5);    // the transmit step of a No Tx row
        clickCell(f.grid, 0, 2);
        clickCell(f.grid, 2, 0);
        QCOMPARE(cellText(f.grid, 1, 2), QStringLiteral("6.25"));
        QCOMPARE(cellText(f.grid, 2, 5), QStringLiteral("6.25"));
        QVERIFY(!f.freq->isVisible());
        QVERIFY(f.untouched());
        clickCell(f.grid, 2, 2); // its receive side still works
        QCOMPARE(cellText(f.grid, 2, 2), QStringLiteral("5.00"));
    }

    void theEditorChecksWhatWasTyped() {
        Fixture f;
        f.use({1, 2});
        f.setRx(1, "146.52500", "6.25");
        clickCell(f.grid, 1, 1);
        QVERIFY(f.freq->isVisible());
        QCOMPARE(f.freq->selectedText(), QStringLiteral("146.52500"));
        QTest::keyClicks(f.freq, "146x,52"); // the letter is dropped, the comma becomes '.'
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("146.52"));
        QVERIFY(!f.session.tuneDataChanged()); // the document takes the text when the edit ends
        QTest::keyClick(f.freq, Qt::Key_Return);
        QVERIFY(!f.freq->isVisible());
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("146.51875")); // the row's 6.25 kHz step
        QVERIFY(f.session.tuneDataChanged());
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 1, 2));
        QVERIFY(f.grid->hasFocus());

        // Outside the model's range: its limit; Escape brings the old text back.
        f.pressOn(2, 4, Qt::Key_1);
        QTest::keyClicks(f.freq, "80");
        f.page.commitCellEdits();
        QCOMPARE(cellText(f.grid, 2, 4), QStringLiteral("176.00000"));
        f.pressOn(2, 4, Qt::Key_Space);
        QTest::keyClicks(f.freq, "150");
        QTest::keyClick(f.freq, Qt::Key_Escape);
        QVERIFY(!f.freq->isVisible());
        QCOMPARE(cellText(f.grid, 2, 4), QStringLiteral("176.00000"));
        QVERIFY(f.feedback.shown.isEmpty());

        // Empty or not a number: the message, the old value back.
        for (const char* typed : {"", "."}) {
            clickCell(f.grid, 2, 1);
            f.freq->setText(QLatin1String(typed));
            clickCell(f.grid, 0, 3); // leaving the editor checks it
            QVERIFY(!f.freq->isVisible());
            QCOMPARE(cellText(f.grid, 2, 1), QStringLiteral("136.00000"));
            QCOMPARE(f.feedback.shown.size(), 1);
            QCOMPARE(f.feedback.shown[0].text, QStringLiteral("Test Frequency Error!"));
            QCOMPARE(f.feedback.shown[0].title, QStringLiteral("Frequency Error"));
            QCOMPARE(f.feedback.shown[0].icon, Icon::Exclamation);
            f.feedback.clear();
        }
    }

    // Up and Down step by the row's raster and stay inside the model's range on it.
    void arrowKeysStepTheFrequency_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("6.25 kHz") << 0 << "6.25" << "146.52500" << QStringList{"U", "D", "D"}
                                  << QStringList{"146.53125", "146.52500", "146.51875"};
        QTest::newRow("5 kHz from off the raster")
            << 0 << "5.00" << "146.53125" << QStringList{"U", "D"} << QStringList{"146.53500", "146.53000"};
        QTest::newRow("top of the range")
            << 0 << "6.25" << "175.99375" << QStringList{"U", "U"} << QStringList{"176.00000", "176.00000"};
        QTest::newRow("bottom of the range")
            << 0 << "5.00" << "130.00500" << QStringList{"D", "D"} << QStringList{"130.00000", "130.00000"};
        // 446.19375 MHz, the top of this model's range, is not on the 5 kHz raster.
        QTest::newRow("limit off the raster")
            << 3 << "5.00" << "446.18500" << QStringList{"U", "U", "U"}
            << QStringList{"446.19000", "446.19000", "446.19000"};
        QTest::newRow("not a number") << 0 << "5.00" << "" << QStringList{"U"} << QStringList{""};
    }
    void arrowKeysStepTheFrequency() {
        QFETCH(int, model);
        QFETCH(QString, step);
        QFETCH(QString, start);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, shown);
        Fixture f;
        if (model != 0)
            QVERIFY(f.session.chooseModel(model, f.feedback));
        f.use({1});
        f.showRecords([&](TuneTable& t) { t.rows[0].cells[TuneColRxStep] = step; });
        clickCell(f.grid, 1, 1);
        f.freq->setText(start);
        for (int k = 0; k < keys.size(); ++k) {
            QTest::keyClick(f.freq, keys[k] == QLatin1String("U") ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(f.freq->text(), shown[k]);
            QCOMPARE(f.freq->selectedText(), shown[k]);
        }
        QVERIFY(f.freq->isVisible());
    }

    void enterMovesThroughTheGrid() {
        Fixture f;
        f.use({1});
        f.pressOn(1, 6, Qt::Key_Return);
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 2, 1));
        f.pressOn(11, 6, Qt::Key_Return);
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 11, 6));
        f.pressOn(1, 4, Qt::Key_Space);
        QVERIFY(f.freq->isVisible());
        QCOMPARE(f.freq->text(), QStringLiteral("136.00000"));
    }

    void signallingCellsOpenTheDialog() {
        Fixture f;
        f.use({2});
        clickCell(f.grid, 2, 6);
        SignalDialog* dialog = f.page.signalDialog();
        QVERIFY(dialog && dialog->isVisible());
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QTRY_VERIFY(!f.page.signalDialog());
        QVERIFY(f.untouched()); // the same text again

        clickCell(f.grid, 2, 6);
        dialog = f.page.signalDialog();
        dialog->findChild<QRadioButton*>(QStringLiteral("optChRxdec_2"))->click();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QTRY_VERIFY(!f.page.signalDialog());
        QCOMPARE(cellText(f.grid, 2, 6), QStringLiteral("DCS 023"));
        QVERIFY(f.session.tuneDataChanged());
        QCOMPARE(f.edits.size(), 1);
    }

    void theButtonAndTheBackgroundGoToTheOwner() {
        Fixture f;
        f.use({1});
        QSignalSpy writes{&f.page, &TuneChannelsPage::writeRequested};
        QSignalSpy background{&f.page, &TuneChannelsPage::backgroundClicked};
        QCOMPARE(f.page.cmdSaveTnFq()->text(), QStringLiteral("&Write Frequencies of Tune"));
        clickCell(f.grid, 1, 1);
        f.freq->setText(QStringLiteral("150"));
        QTest::mouseClick(f.page.cmdSaveTnFq(), Qt::LeftButton);
        QCOMPARE(writes.size(), 1);
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("150.00000")); // finished first
        QTest::mouseClick(&f.page, Qt::LeftButton, {}, QPoint(f.page.width() - 3, f.page.height() / 2));
        QCOMPARE(background.size(), 1);
    }
};

QTEST_MAIN(TestTuneChannels)
#include "test_tune_channels.moc"
