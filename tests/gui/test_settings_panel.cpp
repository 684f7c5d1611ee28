// The global settings panel: its four-by-four lists, the Power Select / Monitor rule, the
// band width reaching the channel table, the changed flags and the red marks.

#include "EditorTestSupport.h"
#include "editors/ChannelEditor.h"
#include "editors/SettingsPanel.h"
#include "image/SettingsCodec.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>

using namespace orv;
using namespace orv::gui;
using namespace orv::test;

namespace {

struct Fixture : EditorSession {
    QWidget window;
    SettingsPanel panel{session, feedback, &window};
    ChannelEditor channels{session, feedback, &window};
    QSignalSpy edits{&session, &Document::changed};

    Fixture() {
        panel.move(0, channels.height());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QComboBox* list(Setting s) { return panel.list(s); }
};

} // namespace

class TestSettingsPanel : public QObject {
    Q_OBJECT
private slots:
    void listsStandFourByFourInTabOrder() {
        Fixture f;
        QCOMPARE(f.panel.objectName(), QStringLiteral("frmScan"));
        auto* box = f.panel.findChild<QGroupBox*>();
        QCOMPARE(box->title(), QStringLiteral("Global Radio Settings"));
        QCOMPARE(f.list(Setting::PowerSelect)->objectName(), QStringLiteral("cboRadio_10"));
        QCOMPARE(f.list(Setting::RevertCh)->objectName(), QStringLiteral("cmbScan_4"));

        const Setting rowMajor[] = {Setting::TxTot,        Setting::BeepTone,     Setting::BandWidth,
                                    Setting::RevertCh,     Setting::PreAlertTime, Setting::SquelchLevel,
                                    Setting::ScanMode,     Setting::DropoutDelay, Setting::TotRekeyTime,
                                    Setting::ManualTune,   Setting::PriorityCh,   Setting::Monitor,
                                    Setting::TotResetTime, Setting::BatterySave,  Setting::LookBack,
                                    Setting::PowerSelect};
        auto* grid = qobject_cast<QGridLayout*>(box->layout());
        for (int i = 0; i < 16; ++i) {
            QComboBox* list = f.list(rowMajor[i]);
            int row, column, rows, columns;
            grid->getItemPosition(grid->indexOf(list), &row, &column, &rows, &columns);
            QCOMPARE(row, (i / 4) * 2 + 1);
            QCOMPARE(column, i % 4);
            auto* caption = qobject_cast<QLabel*>(grid->itemAtPosition(row - 1, column)->widget());
            QCOMPARE(caption->text(), settingCaption(rowMajor[i]));
            if (i > 0) {
                QWidget* next = f.list(rowMajor[i - 1])->nextInFocusChain();
                while (!(next->focusPolicy() & Qt::TabFocus))
                    next = next->nextInFocusChain();
                QCOMPARE(next, list);
            }
        }
        QCOMPARE(f.list(Setting::TxTot)->currentText(), QStringLiteral("60s"));
    }

    void longMoniTakesTheMomentaryMonitorEntriesAway() {
        Fixture f;
        QComboBox* monitor = f.list(Setting::Monitor);
        QComboBox* power = f.list(Setting::PowerSelect);
        QCOMPARE(monitor->currentText(), QStringLiteral("SQ OFF Momentary"));
        choose(power, QStringLiteral("Long [MONI]"));
        QCOMPARE(monitor->count(), 2);
        QCOMPARE(monitor->currentText(), QStringLiteral("OFF"));
        QVERIFY(power->hasFocus());
        choose(power, QStringLiteral("Short [MONI]"));
        choose(power, QStringLiteral("Short [MONI]"));
        QCOMPARE(monitor->count(), 4);
        QCOMPARE(monitor->itemText(3), QStringLiteral("SQ OFF Momentary"));
        QCOMPARE(monitor->currentText(), QStringLiteral("OFF"));

        // A selection both lists have stays selected, both ways.
        choose(monitor, QStringLiteral("Monitor Lock"));
        choose(power, QStringLiteral("Long [MONI]"));
        QCOMPARE(monitor->currentText(), QStringLiteral("Monitor Lock"));
        choose(power, QStringLiteral("OFF"));
        QCOMPARE(monitor->currentText(), QStringLiteral("Monitor Lock"));
        QCOMPARE(f.session.settings().text(Setting::Monitor), QStringLiteral("Monitor Lock"));
    }

    void selectionsSetTheFlagOfTheirGroup() {
        Fixture f;
        choose(f.list(Setting::ScanMode), QStringLiteral("TO"));
        QVERIFY(f.session.channelDataChanged() && !f.session.settingsChanged());
        QCOMPARE(f.session.settings().text(Setting::ScanMode), QStringLiteral("TO"));
        // "Narrow" reaches every channel's Band Width cell, greyed.
        Fixture g;
        choose(g.list(Setting::BandWidth), QStringLiteral("Narrow"));
        QVERIFY(!g.session.channelDataChanged() && g.session.settingsChanged());
        QCOMPARE(f.edits.size(), 1);
        QCOMPARE(g.edits.size(), 1);
        QTableView* grid = g.channels.grid();
        for (int row : {1, 15}) {
            QCOMPARE(cellText(grid, row, 8), QStringLiteral("Narrow"));
            QCOMPARE(cellColour(grid, row, 8), grid->palette().color(QPalette::Disabled, QPalette::Text));
        }
    }

    void storedValuesWithoutEntryAreRedUntilPicked() {
        Fixture f;
        RadioData radio = f.session.data();
        radio.functionSettings()[11] = 12; // squelch level beyond 9
        takeBytes(f.session, radio, f.feedback);
        QCOMPARE(f.feedback.texts().last(), QStringLiteral("Error Squelch Level!"));
        QVERIFY(!f.session.settingsChanged());
        QComboBox* squelch = f.list(Setting::SquelchLevel);
        QCOMPARE(squelch->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        choose(squelch, QStringLiteral("3"));
        QVERIFY(squelch->palette().color(QPalette::ButtonText) != QColor(255, 0, 0));
    }
};

QTEST_MAIN(TestSettingsPanel)
#include "test_settings_panel.moc"
