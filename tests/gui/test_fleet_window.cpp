// The fleet window offscreen on its demo radios, driven as a user drives it: Operate >
// "Program Several Radios...", the ports ticked, the options, Start, the table filling in,
// Stop and Stop Now, Next, Export Log, Close asking while a run goes, and the main window
// taking no radio command meanwhile. Most runs have virtual clocks; Stop and the picture for
// the README run in real time.

#include "RadioWindowFixture.h"
#include "fleet/FleetCommand.h"
#include "fleet/FleetTable.h"
#include "fleet/FleetWindow.h"
#include "image/RadioInfoText.h"
#include "sim/VirtualRadio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>

using namespace orv;
using namespace orv::gui;

namespace {

struct Fixture : test::RadioWindow {
    FleetCommand* command = nullptr;
    QString chosen; // what the file dialog hook answers

    explicit Fixture(bool virtualClocks = true) {
        command = new FleetCommand(*window, 4);
        command->setWindowMade([this, virtualClocks](FleetWindow& w) {
            w.setChooseFile([this](bool) { return chosen; });
            if (virtualClocks)
                w.setClockMaker([](int) { return std::make_unique<VirtualClock>(); });
        });
        window->menuAction("mnuFleet")->trigger();
    }
    FleetWindow& fleet() { return *command->fleetWindow(); }
    template <typename T>
    T* part(const char* name) {
        return fleet().findChild<T*>(QLatin1String(name));
    }
    void tick(std::initializer_list<int> radios) {
        for (int i : radios)
            fleet().portList()->item(i - 1)->setCheckState(Qt::Checked);
    }
    void click(const char* button) { part<QPushButton>(button)->click(); }
    bool runEnds(int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (fleet().running() && t.elapsed() < ms)
            QTest::qWait(20);
        return !fleet().running();
    }
    QString cell(int row, FleetTable::Column c) { return fleet().table()->text(row, c); }
    sim::VirtualRadio& demo(int i) { return *fleet().demoRadio(i); }
    bool radioCommandsEnabled() {
        return window->menuAction("mnuRead")->isEnabled() && window->menuAction("mnuWrite")->isEnabled() &&
               window->menuAction("mnuCompareRadio")->isEnabled() && window->menuAction("mnuTune")->isEnabled() &&
               window->toolButton("Write")->isEnabled();
    }
};

} // namespace

class TestFleetWindow : public QObject {
    Q_OBJECT
private slots:
    // The current data into three of the four demo radios, with the information text: one row
    // per port ending "done", the totals, the radios holding the data; the main window takes
    // no radio command while the run goes; the log exported.
    void programThreeDemoRadios() {
        Fixture f;
        QVERIFY(f.fleet().isVisible());
        QCOMPARE(f.fleet().portList()->count(), 4);
        QCOMPARE(f.fleet().portList()->item(3)->text(), QStringLiteral("Demo radio 4"));
        f.session().setChannelCell(3, ColRxFreq, QStringLiteral("150.00000"));
        QCOMPARE(f.fleet().dataLabel()->text(), QStringLiteral("Sending: The current data - model VHF Seven"));
        f.tick({1, 2, 4});
        f.part<QCheckBox>("chkBackup")->setChecked(false);
        f.part<QCheckBox>("chkInfo")->setChecked(true);
        f.part<QLineEdit>("txtInfoTemplate")->setText(QStringLiteral("Unit {n} {id}"));
        f.click("cmdStart");
        QVERIFY(f.fleet().running());
        QVERIFY(!f.radioCommandsEnabled());
        QVERIFY(!f.part<QPushButton>("cmdStart")->isEnabled());
        QVERIFY(f.runEnds());
        QVERIFY(f.radioCommandsEnabled());

        FleetTable* table = f.fleet().table();
        QCOMPARE(table->rowCount(), 3);
        const QStringList ids{"SIM0001", "SIM0002", "SIM0004"};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(f.cell(row, FleetTable::ColState), QStringLiteral("done"));
            QCOMPARE(f.cell(row, FleetTable::ColRadio), QString::number(row + 1));
            QCOMPARE(f.cell(row, FleetTable::ColRadioId), ids[row]);
            QCOMPARE(f.cell(row, FleetTable::ColMessage), QStringLiteral("programmed, verified, information written"));
            QCOMPARE(table->progressBar(row)->value(), table->progressBar(row)->maximum());
        }
        QCOMPARE(f.fleet().totalsLabel()->text(), QStringLiteral("Fleet: 3 programmed, 0 failed."));
        QVERIFY(std::ranges::equal(f.demo(4).memory().channel(2), f.session().data().channel(2)));
        QVERIFY(infoTextFromImage(f.demo(4).memory()).startsWith(QStringLiteral("Unit 3 SIM0004")));
        QVERIFY(f.demo(3).log().blocksWritten.isEmpty());

        f.chosen = f.dir.filePath("fleet-log.csv");
        f.click("cmdExportLog");
        QFile log(f.chosen);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith("time,port,radio,radio_id"));
        QVERIFY(std::ranges::any_of(lines, [](const QByteArray& l) {
            return l.contains(",Demo radio 4,3,SIM0004,7,no,yes,yes,yes,ok,");
        }));
    }

    // A chosen data file, one radio refusing a block: its row fails with the message, the
    // other is done. The demo radios keep what the first run wrote.
    void chosenFileAndAFailingRadio() {
        Fixture f;
        f.chosen = qEnvironmentVariable("ORVANTE_SOURCE_DIR") + "/data/samples/demo-radio.kvd";
        f.click("cmdChooseFile");
        QVERIFY(f.part<QRadioButton>("optDataFile")->isChecked());
        QVERIFY2(f.fleet().dataLabel()->text().startsWith(QStringLiteral("Sending: demo-radio.kvd - model ")),
                 qPrintable(f.fleet().dataLabel()->text()));
        sim::RadioFaults nak;
        QVERIFY(sim::RadioFaults::parse(QStringLiteral("nak-at-block:3"), nak));
        f.demo(2).setFaults(nak);
        f.tick({1, 2});
        f.click("cmdStart");
        QVERIFY(f.runEnds());
        QCOMPARE(f.cell(0, FleetTable::ColState), QStringLiteral("done"));
        QCOMPARE(f.cell(1, FleetTable::ColState), QStringLiteral("failed"));
        QCOMPARE(f.cell(1, FleetTable::ColMessage), QStringLiteral("Writing data interrupted. Please write again!"));
        QCOMPARE(f.fleet().totalsLabel()->text(), QStringLiteral("Fleet: 1 programmed, 1 failed."));
        // No port chosen: said, nothing starts.
        for (int i = 0; i < 4; ++i)
            f.fleet().portList()->item(i)->setCheckState(Qt::Unchecked);
        f.feedback.clear();
        f.click("cmdStart");
        QCOMPARE(f.feedback.texts(), QStringList{"Choose at least one port."});
        QVERIFY(!f.fleet().running());
    }

    // Swap by prompt: the port's Next button is enabled while it waits; a click programs the
    // next radio.
    void nextButton() {
        Fixture f;
        f.tick({1});
        f.part<QRadioButton>("optSwap")->setChecked(true);
        f.part<QSpinBox>("spnCount")->setValue(2);
        f.part<QComboBox>("cboNext")->setCurrentIndex(1);
        f.click("cmdStart");
        QPushButton* next = f.fleet().table()->nextButton(0);
        QVERIFY(next);
        QTRY_VERIFY(next->isEnabled());
        QCOMPARE(f.cell(0, FleetTable::ColMessage), QStringLiteral("Connect the next radio"));
        QCOMPARE(f.cell(0, FleetTable::ColRadio), QStringLiteral("1"));
        next->click();
        QVERIFY(f.runEnds());
        QCOMPARE(f.cell(0, FleetTable::ColRadio), QStringLiteral("2"));
        QCOMPARE(int(f.fleet().records().size()), 2);
    }

    // In real time: Close asks while the run goes (No keeps it), so does closing the main
    // window; Stop becomes Stop Now; Stop Now cuts the writes and the rows say so.
    void stopNowInRealTime() {
        Fixture f(false);
        f.tick({1, 2});
        f.part<QCheckBox>("chkBackup")->setChecked(false);
        f.click("cmdStart");
        QTRY_VERIFY_WITH_TIMEOUT(f.cell(0, FleetTable::ColState).startsWith("writing") &&
                                     f.fleet().table()->progressBar(0)->value() >= 20,
                                 10000);
        f.feedback.answers = {Answer::No, Answer::No};
        f.fleet().close();
        QVERIFY(f.fleet().isVisible());
        f.window->close();
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.feedback.shown.size(), 2);
        QVERIFY(f.fleet().running());

        QPushButton* stop = f.part<QPushButton>("cmdStop");
        stop->click();
        QCOMPARE(stop->text(), QStringLiteral("Stop &Now"));
        stop->click();
        QVERIFY(f.runEnds(3000));
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(f.cell(row, FleetTable::ColState), QStringLiteral("failed"));
            QCOMPARE(f.cell(row, FleetTable::ColMessage),
                     QStringLiteral("Stopped now: the write was cut. The radio must be written again."));
        }
        QVERIFY(f.demo(1).log().blocksWritten.size() < WriteBlockCount);
        QCOMPARE(stop->text(), QStringLiteral("&Stop"));
        QVERIFY(!stop->isEnabled());
        // With the run over, Escape closes without a question.
        QTest::keyClick(f.part<QPushButton>("cmdStart"), Qt::Key_Escape);
        QVERIFY(!f.fleet().isVisible());
        QCOMPARE(f.feedback.shown.size(), 2);
    }

    // The README's picture: four demo radios during a run (ORVANTE_SCREENSHOT_DIR).
    void screenshotDuringARun() {
        const QString dir = qEnvironmentVariable("ORVANTE_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("ORVANTE_SCREENSHOT_DIR is not set");
        Fixture f(false);
        f.tick({1, 2, 3, 4});
        f.part<QCheckBox>("chkInfo")->setChecked(true);
        sim::RadioFaults slow, silent;
        QVERIFY(sim::RadioFaults::parse(QStringLiteral("slow:30"), slow));
        silent.silent = true;
        f.demo(2).setFaults(slow); // still backing up while the others write
        f.demo(3).setFaults(silent);
        f.click("cmdStart");
        QTRY_VERIFY_WITH_TIMEOUT(f.cell(0, FleetTable::ColState).startsWith("writing") &&
                                     f.fleet().table()->progressBar(0)->value() > 60 &&
                                     f.cell(2, FleetTable::ColState) == "failed",
                                 30000);
        f.fleet().resize(1100, 560);
        QVERIFY(f.fleet().grab().save(QDir(dir).filePath(QStringLiteral("fleet-window.png"))));
        f.fleet().runner()->stopNow();
        QVERIFY(f.runEnds(3000));
    }
};

QTEST_MAIN(TestFleetWindow)
#include "test_fleet_window.moc"
