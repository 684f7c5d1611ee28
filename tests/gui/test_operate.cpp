// Read and Write from the window's menu and toolbar against the virtual radio on a virtual
// clock: the progress, the messages and questions, the caption, what the editors show
// afterwards, and that a failed read leaves the window exactly as it was.

#include "EditorTestSupport.h"
#include "RadioWindowFixture.h"
#include "catalog/NumberText.h"
#include "document/TuneSession.h"
#include "editors/ChannelEditor.h"
#include "image/ChannelTable.h"
#include "image/NewImage.h"
#include "link/RadioConnection.h"
#include "shell/MainWindow.h"
#include "shell/ModelFrame.h"
#include "shell/OperateCommands.h"
#include "sim/VirtualRadio.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace orv;
using namespace orv::gui;
using orv::test::RecordingFeedback;

namespace {

const QString Title = orv::test::WindowTitle;
const QString ReadDone = QStringLiteral("Read data is complete. Press OK button to continue ...");

using Fixture = orv::test::RadioWindow;

// A radio programmed for model 9 with channel 3 on 440.125 MHz.
RadioData uhfRadio() {
    RadioData d = sim::demoRadioImage();
    d.modelBlock()[2] = 9;
    ChannelTable t;
    showChannels(d, t, NumberFormat());
    t.rows[2].cells[ColRxFreq] = QStringLiteral("440.12500");
    t.rows[2].cells[ColTxFreq] = QStringLiteral("440.12500");
    saveChannels(t, d, NumberFormat());
    return d;
}

} // namespace

class TestOperate : public QObject {
    Q_OBJECT

private slots:
    // The README's picture of a completed read (ORVANTE_SCREENSHOT_DIR=docs/screenshots).
    void screenshotOfARead() {
        const QString dir = qEnvironmentVariable("ORVANTE_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("ORVANTE_SCREENSHOT_DIR is not set");
        Fixture f;
        f.window->menuAction("mnuRead")->trigger();
        QCOMPARE(f.feedback.texts(), QStringList{ReadDone});
        QVERIFY(f.window->grab().save(QDir(dir).filePath(QStringLiteral("read-complete.png"))));
    }

    // Read from the menu: the progress to 635, the message, the caption, the radio's model
    // and channels in the editors, File New enabled.
    void readFromTheMenu() {
        Fixture f(uhfRadio());
        QVERIFY(!f.window->menuAction("mnuFileNew")->isEnabled());
        f.window->menuAction("mnuRead")->trigger();

        QCOMPARE(f.feedback.progress.first(), QStringLiteral("open Reading data from the radio ...|635|Read"));
        QVERIFY(f.feedback.progress.contains(QStringLiteral("set 635")));
        QCOMPARE(f.feedback.progress.last(), QStringLiteral("close"));
        QCOMPARE(f.feedback.texts(), QStringList{ReadDone});
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Read Complete - ") + Title);
        QCOMPARE(f.session().selectedModel(), 1);
        QCOMPARE(f.session().channels().rows[2].cells[ColRxFreq], QStringLiteral("440.12500"));
        QCOMPARE(f.window->channelEditor()->grid()->model()->index(3, ColRxFreq).data().toString(),
                 QStringLiteral("440.12500"));
        QVERIFY(f.window->menuAction("mnuFileNew")->isEnabled());
        QVERIFY(f.window->dataUnsaved());

        // A radio newer than the program: the notice after the completion.
        Fixture newer;
        newer.radio().setDataVersion(3);
        newer.window->toolButton("Read")->trigger();
        QCOMPARE(newer.feedback.texts(),
                 (QStringList{ReadDone, QStringLiteral("New Version Radio. Please update program software.")}));
        QCOMPARE(newer.feedback.shown[1].title, QStringLiteral("Error"));
        QCOMPARE(newer.feedback.shown[1].icon, Icon::Information);
        QCOMPARE(newer.session().dataVersion(), 3);
    }

    // A channel the radio keeps out of use at 0 MHz, ticked into use: its frequencies go into
    // the model's range and the status bar says so.
    void channelComingIntoUseIsToldInTheStatusBar() {
        Fixture f;
        f.window->menuAction("mnuRead")->trigger();
        QCOMPARE(f.session().channels().rows[14].cells[ColRxFreq], QStringLiteral("000.00000"));
        auto* noCh = f.window->findChild<QCheckBox*>(QStringLiteral("chkCH_14"));
        QTest::mouseClick(noCh, Qt::LeftButton);
        QCOMPARE(f.window->channelEditor()->grid()->model()->index(15, ColRxFreq).data().toString(),
                 QStringLiteral("130.00000"));
        QVERIFY2(f.window->statusBar()->currentMessage().startsWith(
                     QStringLiteral("CH 15 Rx Freq: 000.00000 is outside 130.00000~176.00000 MHz; set to 130.00000")),
                 qPrintable(f.window->statusBar()->currentMessage()));
    }

    // A read that fails part way shows its message and nothing else changes: not the data,
    // not the editors, not the caption, not the data version.
    void failedReadChangesNothing() {
        Fixture f(uhfRadio());
        f.faults(QStringLiteral("stop-after-block:40"));
        f.radio().setDataVersion(0);
        const RadioData before = f.session().data();
        const ChannelTable shown = f.session().channels();
        f.window->menuAction("mnuRead")->trigger();
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Reading data interrupted. Please read again!")});
        QVERIFY(f.session().data() == before);
        QVERIFY(f.session().channels() == shown);
        QCOMPARE(f.session().dataVersion(), 2);
        QCOMPARE(f.window->windowTitle(), Title);
        QVERIFY(!f.window->menuAction("mnuFileNew")->isEnabled());
        QVERIFY(!f.window->dataUnsaved());
    }

    // Write: the editors' contents reach the radio; another model asks first, and No sends
    // nothing more; the caption tells a completed write.
    void writeFromTheMenu() {
        Fixture f(uhfRadio());
        f.radio().setModelCode(9);
        QVERIFY(f.session().setChannelCell(1, ColRxFreq, QStringLiteral("150.00000")));
        f.feedback.answers = {Answer::No};
        f.window->menuAction("mnuWrite")->trigger();
        QCOMPARE(f.feedback.shown.size(), 1);
        QVERIFY(f.feedback.shown[0].text.startsWith(QStringLiteral("The selected model is different")));
        QVERIFY(f.radio().log().blocksWritten.isEmpty());
        QCOMPARE(f.window->windowTitle(), Title);

        f.feedback.clear();
        f.feedback.answers = {Answer::Yes};
        f.window->toolButton("Write")->trigger();
        QCOMPARE(f.radio().log().blocksWritten.size(), 38);
        QCOMPARE(f.feedback.texts().last(), QStringLiteral("Write data is complete. Press OK button to continue ..."));
        QCOMPARE(f.feedback.progress.first(), QStringLiteral("open Writing data to the radio ...|140|Write"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Write Complete - ") + Title);
        ChannelTable inRadio;
        showChannels(f.radio().memory(), inRadio, NumberFormat());
        QCOMPARE(inRadio.rows[0].cells[ColRxFreq], QStringLiteral("150.00000"));
        QVERIFY(f.window->menuAction("mnuFileNew")->isEnabled());
        QVERIFY(!f.session().channelDataChanged());
    }

    // Leaving tune mode belongs to the connection of the window: Read leaves an active item
    // first (closing the window doing the same is the main window's test).
    void readLeavesAnActiveTuneItem() {
        Fixture f;
        TuneSession& tune = f.session().tuning();
        QVERIFY(tune.enterTuneMode(f.runner()));
        tune.chooseItem(1, f.runner());
        QCOMPARE(tune.state(), int(TuneSession::ItemActive));
        f.radio().clearLog();
        f.window->menuAction("mnuRead")->trigger();
        // Battery left without storing (the demo radio's value 0x80), test channel 1 again.
        QCOMPARE(f.radio().log().tuneCommands,
                 (QList<QByteArray>{QByteArray("B\x80\x01", 3), QByteArray("C\x01", 2)}));
        QCOMPARE(tune.state(), int(TuneSession::None));
        QCOMPARE(f.feedback.texts().last(), ReadDone);
    }
};

QTEST_MAIN(TestOperate)
#include "test_operate.moc"
