// Tune mode against the virtual radio on a virtual clock: entering it, the bytes and timings
// of every item exchange, the tune session's state machine across item and page changes, the
// test-channel write, leaving, and every failure.

#include "catalog/NumberText.h"
#include "common/RadioBench.h"
#include "image/TuneTable.h"
#include "link/AccessCodes.h"
#include "link/TuneExchanges.h"
#include "common/TestSetup.h"
#include "document/Document.h"
#include "document/TuneSession.h"
#include "exchange/ExchangeRunner.h"

#include <QtTest>

using namespace orv;
using orv::test::blockRequest;

namespace {

const QString Title = QStringLiteral("ORVANTE Programming Software");
const QString Interrupted = QStringLiteral("Connecting interrupted. Please try again!");
const QByteArray Ack(1, 0x06);

QByteArray bytes(std::initializer_list<int> b) {
    QByteArray out;
    for (int x : b)
        out.append(char(x));
    return out;
}

// The radio's memory: test channels 2 and 4 in use (4 with DCS on transmit, 2 without
// transmit signalling), tune values 0x10.. at 0x2F0, everything else a pattern.
RadioData radioMemory() {
    RadioData d = sim::defaultRadioMemory();
    for (int t = 0; t < addr::TestChannelCount; ++t) {
        Record r = d.testChannel(t);
        std::fill(r.begin(), r.end(), std::uint8_t(0));
        r[0] = std::uint8_t(0x10 + t);
        r[1] = 0x5B;
        r[2] = 0x04;
    }
    d.testChannel(1)[2] |= 0x08;
    d.testChannel(3)[2] |= 0x08;
    d.testChannel(3)[7] = 0x48; // DCS, transmit allowed
    d.testChannel(3)[8] = 0x23;
    d.testChannel(3)[9] = 0x01;
    for (int k = 0; k < 16; ++k)
        d.tuneValues()[std::size_t(k)] = std::uint8_t(0x10 + k);
    return d;
}

struct Fixture : orv::test::RadioBench {
    ExchangeRunner runner{link, feedback};
    std::unique_ptr<Document> document;
    Document& session;
    TuneSession& tune;

    explicit Fixture(const QStringList& faults = {})
        : RadioBench(faults),
          document(test::makeDocument(ModelCatalog({{QStringLiteral("VHF Seven"), 7, 136.0, 174.0, 130.0, 176.0}}),
                                      clock)),
          session(*document), tune(session.tuning()) {
        radio.setMemory(radioMemory());
        session.startUp(feedback);
    }
    // Enters tune mode and forgets what it took.
    void entered() {
        QVERIFY(tune.enterTuneMode(runner));
        sent.clear();
        feedback.clear();
        radio.clearLog();
    }
    QList<QByteArray> tuneCommands() const { return radio.log().tuneCommands; }
    // An edit of the test channels the radio does not know yet (test channel 11's transmit step).
    void editTestChannels() { QVERIFY(session.toggleTestStep(11, TuneColTxStep)); }
};

} // namespace

class TestTune : public QObject {
    Q_OBJECT

private slots:
    // The Tune command: handshake, the 24 tune-area blocks, 0x06, the tune-mode code, the
    // progress, and what the session takes from it.
    void enterTuneMode() {
        Fixture f;
        const RadioData before = f.session.data();
        QVERIFY(f.tune.enterTuneMode(f.runner));

        const QList<QByteArray> p = f.payloads();
        QCOMPARE(p.size(), 3 + 24 + 2);
        for (int i = 0; i < 22; ++i)
            QCOMPARE(p[3 + i], blockRequest('R', 0x100 + 8 * i));
        QCOMPARE(p[25], blockRequest('R', 0x2F0));
        QCOMPARE(p[26], blockRequest('R', 0x2F8));
        QCOMPARE(p[27], Ack);
        QCOMPARE(p[28], access::tuneCode());
        QVERIFY(f.radio.inTuneMode());
        QVERIFY(!f.wire.isOpen());
        QCOMPARE(f.feedback.progress.first(), QStringLiteral("open Connecting radio to tune, please wait ...|690|Read"));
        QCOMPARE(f.feedback.progress.mid(f.feedback.progress.size() - 3),
                 (QStringList{QStringLiteral("set 690"), QStringLiteral("set 690"), QStringLiteral("close")}));
        QVERIFY(f.feedback.shown.isEmpty());

        // Only the tune area came from the radio.
        const RadioData& d = f.session.data();
        QVERIFY(std::equal(d.image.begin() + 0x100, d.image.begin() + 0x1B0, f.radio.memory().image.begin() + 0x100));
        QVERIFY(std::equal(d.tuneValues().begin(), d.tuneValues().end(), f.radio.memory().tuneValues().begin()));
        QVERIFY(std::equal(d.image.begin(), d.image.begin() + 0x100, before.image.begin()));
        QCOMPARE(f.session.caption(), QStringLiteral("While tuning - ") + Title);
        QCOMPARE(f.tune.currentTestChannel(), 2);
        QCOMPARE(f.session.tune().rows[1].noCh, false);
        QCOMPARE(f.tune.state(), int(TuneSession::Entered));
        QVERIFY(f.tune.testPageShown() && f.tune.testPageVisible() && !f.tune.itemPageVisible());
        QCOMPARE(f.tune.modelName(), QStringLiteral("VHF Seven"));
        QCOMPARE(f.tune.rangeText(), QStringLiteral("136.00000 ~ 174.00000 MHz"));

        // Each block: 30 ms before it, the request on the wire (5 ms), one 20 ms poll; the
        // acknowledgement takes 2 ms on the wire.
        QCOMPARE(f.gap(4, 5), std::int64_t(55));
        QCOMPARE(f.gap(27, 28), std::int64_t(52));
    }

    // A radio whose model code no catalog model has is shown as unknown, never looked up
    // outside the catalog.
    void unknownModel() {
        Fixture f;
        f.radio.setModelCode(40);
        QVERIFY(f.tune.enterTuneMode(f.runner));
        QCOMPARE(f.tune.modelPosition(), -1);
        QCOMPARE(f.tune.modelName(), QStringLiteral("Unknown model (code 40)"));
        QCOMPARE(f.tune.rangeText(), QString());
    }

    // A failed Tune command shows its one message and changes nothing: not the data, not the
    // caption, not the state.
    void enterFailures_data() {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("silent") << QStringList{"silent"}
                                << QStringLiteral("COM2 port don't respond, please check your connection!")
                                << QStringLiteral("Communication port error");
        QTest::newRow("radio stops in the test channels") << QStringList{"stop-after-block:36"} << Interrupted
                                                          << QStringLiteral("Tune Error");
        QTest::newRow("short reply") << QStringList{"short-reply-at-block:0x5E"} << Interrupted
                                     << QStringLiteral("Tune Error");
        QTest::newRow("wrong header") << QStringList{"bad-header-at-block:33"}
                                      << QStringLiteral("Connecting error, please connect again!")
                                      << QStringLiteral("Tune Error");
        QTest::newRow("tune code not acknowledged") << QStringList{"no-tune-ack"} << Interrupted
                                                    << QStringLiteral("Tune Error");
    }
    void enterFailures() {
        QFETCH(QStringList, faults);
        QFETCH(QString, text);
        QFETCH(QString, title);
        Fixture f(faults);
        const RadioData before = f.session.data();
        const TuneTable table = f.session.tune();
        QVERIFY(!f.tune.enterTuneMode(f.runner));
        QVERIFY(f.link.failure() != LinkFailure::None);
        QCOMPARE(f.feedback.texts(), QStringList{text});
        QCOMPARE(f.feedback.shown[0].title, title);
        QCOMPARE(f.feedback.shown[0].icon, Icon::Exclamation);
        QVERIFY(f.feedback.progress.isEmpty() || f.feedback.progress.last() == QStringLiteral("close"));
        QVERIFY(f.session.data() == before);
        QVERIFY(f.session.tune() == table);
        QCOMPARE(f.session.caption(), Title);
        QCOMPARE(f.tune.state(), int(TuneSession::None));
        QVERIFY(!f.wire.isOpen());
    }

    // "CTC Deviation(Narrow)" on test channel 4: channel, signalling, narrow, the item with
    // its stored value, each acknowledged first; then the stored value once more as the item
    // page opens.
    void enterNarrowDeviation() {
        Fixture f;
        f.entered();
        QVERIFY(f.tune.selectTestChannel(4));
        f.tune.chooseItem(6, f.runner);
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'C', 4}), bytes({'S', 0x40, 0x23, 0x01}), "n",
                                                      bytes({'Q', 0x15, 1}), bytes({'Q', 0x15, 1})}));
        QCOMPARE(f.radio.tuneState().narrow, true);
        QCOMPARE(f.tune.state(), int(TuneSession::ItemActive));
        QCOMPARE(f.tune.currentItem(), 6);
        QCOMPARE(f.tune.value(), 0x15);
        QCOMPARE(f.tune.itemCaption(), QStringLiteral("CTC Deviation(Narrow)"));
        QVERIFY(f.tune.itemPageVisible() && !f.tune.testPageVisible() && !f.tune.testPageShown());
        QVERIFY(f.wire.isOpen());
        QVERIFY(f.feedback.shown.isEmpty());
        // The channel's poll (3 ms on the wire, 20 + 5) and 40 before the signalling, whose
        // poll stops at once, 30 before "n", 80 before the item.
        const QList<QByteArray> p = f.payloads();
        QCOMPARE(p.size(), 5);
        QCOMPARE(f.gap(0, 1), std::int64_t(3 + 20 + 5 + 40));
        QCOMPARE(f.gap(1, 2), std::int64_t(5 + 10 + 30));
        QCOMPARE(f.gap(2, 3), std::int64_t(2 + 20 + 5 + 80));
    }

    // Without transmit signalling the signalling command carries zeros; the squelch and
    // battery items need their three-byte confirmation.
    void itemsAndTheirReplies() {
        Fixture f;
        f.entered();
        f.tune.chooseItem(5, f.runner); // DCS Deviation(Wide) on test channel 2
        QCOMPARE(f.tuneCommands().mid(0, 3),
                 (QList<QByteArray>{bytes({'C', 2}), bytes({'S', 0, 0, 0}), bytes({'D', 0x14, 1})}));
        QVERIFY(f.tune.itemPageVisible());

        Fixture battery({"tune-bare-ack"});
        battery.entered();
        battery.tune.chooseItem(1, battery.runner);
        QCOMPARE(battery.feedback.texts(), QStringList{Interrupted});
        QCOMPARE(battery.feedback.shown[0].title, QStringLiteral("Tune Error"));
        QVERIFY(!battery.tune.itemPageVisible());
        QCOMPARE(battery.tune.state(), int(TuneSession::Entered));

        // A longer reply still opens the item, but a live value needs exactly the reply.
        Fixture longer({"tune-long-reply"});
        longer.entered();
        longer.tune.chooseItem(2, longer.runner);
        QCOMPARE(longer.tune.state(), int(TuneSession::ItemActive));
        QCOMPARE(longer.feedback.texts(), QStringList{Interrupted});
        QVERIFY(!longer.tune.itemPageVisible());

        Fixture refused({"tune-refuse:m"});
        refused.entered();
        refused.tune.chooseItem(3, refused.runner);
        QCOMPARE(refused.feedback.texts(), QStringList{Interrupted});
        QCOMPARE(refused.tune.state(), int(TuneSession::Entered));
    }

    // Moving between items: the active one is left without storing first; choosing it again
    // sends nothing; Cancel sends the unchanged value, OK the new one with m = 0x02.
    void itemChangesOkAndCancel() {
        Fixture f;
        f.entered();
        f.tune.chooseItem(2, f.runner); // Squelch Level 9
        f.radio.clearLog();
        f.tune.chooseItem(3, f.runner); // Squelch Level 3
        QCOMPARE(f.tuneCommands().mid(0, 4), (QList<QByteArray>{bytes({'M', 0x11, 1}), bytes({'C', 2}),
                                                               bytes({'C', 2}), bytes({'m', 0x12, 1})}));
        QCOMPARE(f.tune.currentItem(), 3);

        f.radio.clearLog();
        f.tune.chooseItem(3, f.runner);
        QVERIFY(f.tuneCommands().isEmpty());

        // A live value goes out after the 80 ms of its first attempt.
        const std::int64_t before = f.clock.nowMs();
        f.sent.clear();
        f.tune.moveValue(77, f.runner);
        QCOMPARE(f.tuneCommands(), QList<QByteArray>{bytes({'m', 77, 1})});
        QCOMPARE(f.sent[0].first - before, std::int64_t(80));
        QCOMPARE(f.radio.tuneLiveValue(), 77);
        f.radio.clearLog();
        f.sent.clear();
        f.tune.cancel(f.runner);
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'m', 0x12, 1}), bytes({'C', 2})}));
        // The item's poll (4 ms on the wire, 20 + 5), then 80 before the channel.
        QCOMPARE(f.gap(0, 1), std::int64_t(4 + 20 + 5 + 80));
        QCOMPARE(f.tune.state(), int(TuneSession::ItemLeft));
        QCOMPARE(f.session.data().tuneValues()[2], std::uint8_t(0x12));
        QVERIFY(!f.tune.itemPageVisible());

        f.tune.chooseItem(3, f.runner);
        f.tune.moveValue(200, f.runner);
        f.radio.clearLog();
        f.tune.ok(f.runner);
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'m', 200, 2}), bytes({'C', 2})}));
        QCOMPARE(f.session.data().tuneValues()[2], std::uint8_t(200));
        QCOMPARE(f.radio.memory().tuneValues()[2], std::uint8_t(200));
        QVERIFY(f.feedback.shown.isEmpty());

        // The test page leaves an active item without storing and keeps the radio's state.
        f.tune.chooseItem(1, f.runner);
        f.radio.clearLog();
        f.tune.chooseTestPage(f.runner);
        QCOMPARE(f.tuneCommands(), (QList<QByteArray>{bytes({'B', 0x10, 1}), bytes({'C', 2})}));
        QCOMPARE(f.tune.state(), int(TuneSession::ItemLeft));
        QVERIFY(f.tune.testPageVisible() && !f.tune.itemPageVisible() && f.tune.testPageShown());
    }

    // A radio that stops answering while an item is active: the value and the leave fail
    // with the tune message, the state stays so that a later page change tries again.
    void radioGoneInAnItem() {
        Fixture f({"tune-silent-after:4"});
        f.entered();
        f.tune.chooseItem(4, f.runner);
        QVERIFY(f.feedback.shown.isEmpty());
        f.tune.moveValue(9, f.runner);
        QCOMPARE(f.feedback.texts(), QStringList{Interrupted});
        f.tune.ok(f.runner);
        QCOMPARE(f.feedback.texts(), (QStringList{Interrupted, Interrupted}));
        QCOMPARE(f.tune.state(), int(TuneSession::ItemActive));
    }

    // Selecting the test channel: never one that is "No CH".
    void testChannelSelection() {
        Fixture f;
        f.entered();
        QVERIFY(!f.tune.selectTestChannel(1));
        QVERIFY(!f.tune.selectTestChannel(12));
        QVERIFY(f.tune.selectTestChannel(4));
        QCOMPARE(f.tune.currentTestChannel(), 4);
    }

    // Changed test channels: the question before an item; Yes writes the grid's channels
    // (22 blocks, back into tune mode) and then enters the item; No enters it at once.
    void changedTestChannelsBeforeAnItem() {
        Fixture f;
        f.entered();
        QVERIFY(f.session.setTestChannelCell(5, TuneColRxFreq, QStringLiteral("150.00000")));
        QVERIFY(f.session.setTestChannelNoCh(5, false));
        f.feedback.answers = {Answer::Yes};
        f.tune.chooseItem(1, f.runner);
        QCOMPARE(f.feedback.shown[0].text,
                 QStringLiteral("Data of tuning channel has been changed. Do you want write these to Radio? "));
        QCOMPARE(f.feedback.shown[0].title, QStringLiteral("Note"));
        QCOMPARE(f.feedback.shown[1].text, QStringLiteral("Write data is complete. Press OK button to continue ..."));
        QCOMPARE(f.radio.log().blocksWritten.size(), 22);
        QCOMPARE(f.radio.log().blocksWritten.first(), 0x20);
        QCOMPARE(f.radio.memory().testChannel(4)[2] & 0x08, 0x08);
        QVERIFY(!f.session.tuneDataChanged());
        QCOMPARE(f.tune.state(), int(TuneSession::ItemActive));
        QCOMPARE(f.feedback.progress.first(), QStringLiteral("open Write data of Tuning to the radio ...|1050|Write"));
        QCOMPARE(f.feedback.progress.mid(f.feedback.progress.size() - 2),
                 (QStringList{QStringLiteral("set 1050"), QStringLiteral("close")}));

        Fixture no;
        no.entered();
        no.editTestChannels();
        no.feedback.answers = {Answer::No};
        no.tune.chooseItem(1, no.runner);
        QVERIFY(no.radio.log().blocksWritten.isEmpty());
        QVERIFY(no.session.tuneDataChanged());
        QCOMPARE(no.tune.state(), int(TuneSession::ItemActive));
    }

    // The test-channel write from its button, and a radio refusing a block.
    void writeTestChannels() {
        Fixture f;
        f.entered();
        f.editTestChannels();
        QVERIFY(f.tune.writeTestChannels(f.runner));
        QCOMPARE(f.payloads().last(), access::tuneCode());
        // Each block: 30 ms before it, 14 ms on the wire, one 10 ms poll.
        QCOMPARE(f.gap(3, 4), std::int64_t(30 + 14 + 10));
        QVERIFY(f.radio.inTuneMode());
        QCOMPARE(f.feedback.texts(), QStringList{QStringLiteral("Write data is complete. Press OK button to continue ...")});
        QVERIFY(!f.wire.isOpen());

        Fixture refused({"nak-at-block:35"});
        refused.entered();
        refused.editTestChannels();
        QVERIFY(!refused.tune.writeTestChannels(refused.runner));
        QCOMPARE(refused.feedback.texts(), QStringList{QStringLiteral("Writing data interrupted. Please write again!")});
        QCOMPARE(refused.feedback.shown[0].title, QStringLiteral("Writing Error"));
        QCOMPARE(refused.feedback.progress.last(), QStringLiteral("close"));
        QVERIFY(refused.session.tuneDataChanged());

        Fixture cut;
        cut.entered();
        cut.wire.cutAfterSends = 3 + 5;
        QVERIFY(!cut.tune.writeTestChannels(cut.runner));
        QCOMPARE(cut.feedback.texts(), QStringList{QStringLiteral("Writing data error, please write again!")});
        QCOMPARE(cut.feedback.shown[0].title, QStringLiteral("Data Error"));
    }

    // Leaving tune mode: nothing at all in state 0; a probe of 0x2F0 after entering, of 0x2F8
    // after an item was left, then 0x06; an active item is only left, without a probe.
    void leaveTuneMode() {
        Fixture idle;
        idle.tune.leaveTuneMode(idle.runner);
        QVERIFY(idle.sent.isEmpty());

        Fixture f;
        f.entered();
        f.tune.leaveTuneMode(f.runner);
        QCOMPARE(f.payloads(), (QList<QByteArray>{blockRequest('R', 0x2F0), Ack}));
        QCOMPARE(f.tune.state(), int(TuneSession::None));
        QVERIFY(!f.radio.inTuneMode());
        QVERIFY(!f.wire.isOpen());
        QVERIFY(!f.tune.testPageVisible() && !f.tune.testPageShown());

        Fixture left;
        left.entered();
        left.tune.chooseItem(2, left.runner);
        left.tune.cancel(left.runner);
        left.sent.clear();
        left.tune.leaveTuneMode(left.runner);
        QCOMPARE(left.payloads(), (QList<QByteArray>{blockRequest('R', 0x2F8), Ack}));
        // 60 ms between the probe's answer and the acknowledgement.
        QCOMPARE(left.gap(0, 1), std::int64_t(5 + 20 + 5 + 60 + 20));

        Fixture active;
        active.entered();
        active.tune.chooseItem(2, active.runner);
        active.sent.clear();
        active.tune.leaveTuneMode(active.runner);
        QCOMPARE(active.payloads(), (QList<QByteArray>{bytes({'M', 0x11, 1}), bytes({'C', 2})}));
        QCOMPARE(active.tune.state(), int(TuneSession::None));
        QVERIFY(!active.wire.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestTune)
#include "test_tune.moc"
