// The channel table editor driven as a user: clicks, keys, the frequency editor, the
// signalling dialog, the No CH / No Tx boxes and the colours that tell what is in force.

#include "EditorTestSupport.h"
#include "editors/ChannelEditor.h"
#include "editors/ChannelGridModel.h"
#include "editors/SignalDialog.h"
#include "image/ChannelTable.h"

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
    ChannelEditor editor{session, feedback};
    QTableView* grid = editor.grid();
    QLineEdit* freq = editor.frequencyEditor();
    QSignalSpy edits{&session, &Document::changed};

    explicit Fixture(NumberFormat numbers = NumberFormat()) : EditorSession(numbers) {
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
    }
    QCheckBox* box(const char* prefix, int channel) {
        return editor.findChild<QCheckBox*>(QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(channel - 1));
    }
    void typeOn(int row, int column, const QString& keys) {
        grid->setFocus();
        grid->setCurrentIndex(cell(grid, row, column));
        QTest::keyClicks(grid, keys.left(1));
        QTest::keyClicks(freq, keys.mid(1));
    }
    QColor buttonFace() const { return grid->palette().color(QPalette::Button); }
    QColor greyText() const { return grid->palette().color(QPalette::Disabled, QPalette::Text); }
    bool untouched() const { return edits.isEmpty() && !session.channelDataChanged(); }
};

} // namespace

class TestEditors : public QObject {
    Q_OBJECT
private slots:
    void gridShowsHeadersAndBoxesLevelWithRows() {
        Fixture f;
        QCOMPARE(cellText(f.grid, 0, 0), QStringLiteral("CH No."));
        QCOMPARE(cellText(f.grid, 16, 0), QStringLiteral("CH 16"));
        // 1404 twips at 96 dpi; rows of 292 twips, the header row 467.
        QCOMPARE(f.grid->columnWidth(1), 94);
        QCOMPARE(f.grid->rowHeight(0), 31);
        QCOMPARE(f.grid->rowHeight(5), 19);
        const QRect row = f.grid->visualRect(cell(f.grid, 16, 1));
        const int rowMiddle = f.grid->viewport()->mapTo(&f.editor, row.center()).y();
        QVERIFY(qAbs(f.box("chkTx", 16)->geometry().center().y() - rowMiddle) <= 2);
        QVERIFY(f.box("chkCH", 16)->isChecked());
        QVERIFY(!f.box("chkTx", 16)->isEnabled());
        QVERIFY(f.untouched());
    }

    void typingADigitStartsEditingAndEnterCommits() {
        Fixture f;
        f.grid->setFocus();
        f.grid->setCurrentIndex(cell(f.grid, 3, 1));
        QTest::keyClick(f.grid, '1');
        QVERIFY(f.freq->isVisible());
        QCOMPARE(f.freq->text(), QStringLiteral("1"));
        QCOMPARE(f.freq->cursorPosition(), 1);
        QTest::keyClicks(f.freq, "46x.5312"); // the letter is not taken
        QCOMPARE(cellText(f.grid, 3, 1), QStringLiteral("146.5312"));
        QTest::keyClick(f.freq, Qt::Key_Return);
        QVERIFY(!f.freq->isVisible());
        QCOMPARE(cellText(f.grid, 3, 1), QStringLiteral("146.53125"));
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 3, 2));
        QVERIFY(f.session.channelDataChanged());
        QCOMPARE(f.edits.size(), 1); // the document takes the text once, when the edit ends
    }

    // The editor applies the model's extended range and raster (the rules are in the codec tests).
    void frequenciesAreClampedAndSnapped_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("above range") << 0 << "180" << "176.00000";
        QTest::newRow("below range") << 0 << "100" << "130.00000";
        QTest::newRow("6.25 kHz only") << 3 << "446.01" << "446.01250";
    }
    void frequenciesAreClampedAndSnapped() {
        QFETCH(int, model);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        if (model != 0) {
            QVERIFY(f.session.chooseModel(model, f.feedback));
        }
        f.typeOn(2, 3, typed);
        f.editor.commitCellEdits(); // the window's commit before a command
        QVERIFY(!f.freq->isVisible());
        QCOMPARE(cellText(f.grid, 2, 3), shown);
    }

    void invalidOrEscapedEditsBringTheOldValueBack() {
        Fixture f;
        QVERIFY(f.session.setChannelCell(2, ColRxFreq, QStringLiteral("150.12500")));
        clickCell(f.grid, 2, 1);
        QCOMPARE(f.freq->selectedText(), QStringLiteral("150.12500"));
        QTest::keyClick(f.freq, Qt::Key_Backspace);
        QCOMPARE(cellText(f.grid, 2, 1), QString());
        QTest::keyClick(f.freq, Qt::Key_Return);
        QCOMPARE(cellText(f.grid, 2, 1), QStringLiteral("150.12500"));

        // Escape, and a stored value outside the range left as it was, keep the text exactly.
        QVERIFY(f.session.setChannelCell(2, ColRxFreq, QStringLiteral("200.1")));
        f.edits.clear();
        clickCell(f.grid, 2, 1);
        QTest::keyClicks(f.freq, "4");
        QTest::keyClick(f.freq, Qt::Key_Escape);
        QVERIFY(!f.freq->isVisible());
        QCOMPARE(cellText(f.grid, 2, 1), QStringLiteral("200.1"));
        clickCell(f.grid, 2, 1);
        f.editor.commitCellEdits();
        QCOMPARE(cellText(f.grid, 2, 1), QStringLiteral("200.1"));
        QVERIFY(f.edits.isEmpty()); // nothing was changed

        // Leaving the editor by a click elsewhere commits it.
        clickCell(f.grid, 2, 1);
        QTest::keyClicks(f.freq, "151.5");
        clickCell(f.grid, 4, 6);
        QVERIFY(!f.freq->isVisible());
        QCOMPARE(cellText(f.grid, 2, 1), QStringLiteral("151.50000"));
        QCOMPARE(cellText(f.grid, 4, 6), QStringLiteral("ON"));
    }

    void decimalSeparatorOfTheLocaleIsTyped() {
        Fixture f(NumberFormat(QLatin1Char(',')));
        f.typeOn(1, 1, "146.525");
        QCOMPARE(f.freq->text(), QStringLiteral("146,525"));
        QTest::keyClick(f.freq, Qt::Key_Enter);
        QCOMPARE(cellText(f.grid, 1, 1), QStringLiteral("146,52500"));
    }

    void clicksToggleCellsInForceOnly() {
        Fixture f;
        clickCell(f.grid, 0, 5); // header row
        clickCell(f.grid, 4, 0); // header column
        QVERIFY(f.untouched());
        clickCell(f.grid, 4, 5);
        QCOMPARE(cellText(f.grid, 4, 5), QStringLiteral("Delete"));
        QCOMPARE(cellColour(f.grid, 4, 5), OffColour);
        f.grid->setCurrentIndex(cell(f.grid, 4, 6));
        QTest::keyClick(f.grid, Qt::Key_Space); // as a click
        QCOMPARE(cellText(f.grid, 4, 6), QStringLiteral("ON"));
        QCOMPARE(cellColour(f.grid, 4, 6), OnColour);

        // No Tx: the transmit cells are out of force, the others still react.
        QTest::mouseClick(f.box("chkTx", 5), Qt::LeftButton);
        for (int c : {3, 4, 6, 7}) {
            QCOMPARE(cellColour(f.grid, 5, c), f.buttonFace());
            clickCell(f.grid, 5, c);
        }
        QVERIFY(!f.freq->isVisible() && !f.editor.signalDialog());
        QCOMPARE(cellText(f.grid, 5, 7), QStringLiteral("High"));
        clickCell(f.grid, 5, 8);
        QCOMPARE(cellText(f.grid, 5, 8), QStringLiteral("Narrow"));

        // No CH: nothing in the row reacts to clicks, Space or digits.
        QCheckBox* noCh = f.box("chkCH", 3);
        QTest::mouseClick(noCh, Qt::LeftButton);
        QVERIFY(!f.box("chkTx", 3)->isEnabled());
        const ChannelRow before = f.session.channels().rows[2];
        QVERIFY(before.noCh);
        for (int c = 1; c <= 8; ++c) {
            QCOMPARE(cellColour(f.grid, 3, c), f.buttonFace());
            clickCell(f.grid, 3, c);
        }
        f.grid->setCurrentIndex(cell(f.grid, 3, 1));
        QTest::keyClick(f.grid, Qt::Key_Space);
        QTest::keyClick(f.grid, '4');
        QVERIFY(!f.freq->isVisible() && !f.editor.signalDialog());
        QCOMPARE(f.session.channels().rows[2], before);
        // Ticked off, the colours follow the values again, Band Width grey while "Narrow".
        QVERIFY(f.session.selectSetting(Setting::BandWidth, 1));
        QTest::mouseClick(noCh, Qt::LeftButton);
        QVERIFY(f.box("chkTx", 3)->isEnabled());
        QCOMPARE(cellColour(f.grid, 3, 1), f.grid->palette().color(QPalette::Text));
        QCOMPARE(cellColour(f.grid, 3, 8), f.greyText());
    }

    void bandWidthCellsFollowTheGlobalNarrowSetting() {
        Fixture f;
        QVERIFY(f.session.selectSetting(Setting::BandWidth, 1));
        f.edits.clear();
        clickCell(f.grid, 1, 8);
        QCOMPARE(cellText(f.grid, 1, 8), QStringLiteral("Narrow"));
        QVERIFY(f.untouched());
        // Back to "Wide", the cells keep "Narrow" until clicked.
        QVERIFY(f.session.selectSetting(Setting::BandWidth, 0));
        QCOMPARE(cellText(f.grid, 1, 8), QStringLiteral("Narrow"));
        QCOMPARE(cellColour(f.grid, 1, 8), OffColour);
        clickCell(f.grid, 1, 8);
        QCOMPARE(cellText(f.grid, 1, 8), QStringLiteral("Wide"));
        QCOMPARE(cellColour(f.grid, 1, 8), OnColour);

        // The model at catalog position 2 shows the cells greyed but lets them toggle.
        QVERIFY(f.session.chooseModel(2, f.feedback));
        QVERIFY(f.session.setChannelNoCh(1, false));
        QCOMPARE(cellColour(f.grid, 1, 8), f.greyText());
        clickCell(f.grid, 1, 8);
        QCOMPARE(cellText(f.grid, 1, 8), QStringLiteral("Narrow"));
    }

    void signallingCellsOpenTheDialog() {
        Fixture f;
        clickCell(f.grid, 2, 4);
        SignalDialog* dialog = f.editor.signalDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(f.grid->model()->index(2, 4).data(Qt::BackgroundRole).value<QBrush>().color(), EditingBackground);
        dialog->findChild<QRadioButton*>(QStringLiteral("optChRxdec_2"))->click();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        QTRY_VERIFY(!f.editor.signalDialog());
        QCOMPARE(cellText(f.grid, 2, 4), QStringLiteral("OFF"));
        QVERIFY(f.untouched());
        QVERIFY(!f.grid->model()->index(2, 4).data(Qt::BackgroundRole).isValid());

        clickCell(f.grid, 2, 4);
        dialog = f.editor.signalDialog();
        dialog->findChild<QRadioButton*>(QStringLiteral("optChRxdec_2"))->click();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QTRY_VERIFY(!f.editor.signalDialog());
        QCOMPARE(cellText(f.grid, 2, 4), QStringLiteral("DCS 023"));
        QVERIFY(f.session.channelDataChanged());
        QCOMPARE(f.edits.size(), 1);
    }

    void enterMovesThroughTheGrid() {
        Fixture f;
        f.grid->setFocus();
        f.grid->setCurrentIndex(cell(f.grid, 1, 8));
        QTest::keyClick(f.grid, Qt::Key_Return);
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 2, 1));
        f.grid->setCurrentIndex(cell(f.grid, 16, 8));
        QTest::keyClick(f.grid, Qt::Key_Return);
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 16, 8));
        QTest::keyClick(f.grid, 'a'); // no search by letter
        QCOMPARE(f.grid->currentIndex(), cell(f.grid, 16, 8));
    }
};

QTEST_MAIN(TestEditors)
#include "test_editors.moc"
