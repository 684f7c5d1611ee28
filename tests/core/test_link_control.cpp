// Control of a running exchange and what it tells afterwards: the cancel token stopping a
// read or a write between bytes (on the virtual clock, and from another thread on the real
// one), the failure reason every failure path leaves on the link, and the handshake observer.

#include "CancelToken.h"
#include "common/RadioBench.h"
#include "link/Exchanges.h"
#include "link/TuneExchanges.h"

#include <QElapsedTimer>
#include <QtTest>

#include <chrono>
#include <thread>

using namespace orv;
using Bench = orv::test::RadioBench;

namespace {

// Every message and progress step, to compare two runs.
QStringList seen(const test::RecordingFeedback& feedback) {
    QStringList out;
    for (const test::Shown& s : feedback.shown)
        out.append(QStringLiteral("%1|%2|%3").arg(s.text, s.title).arg(int(s.icon)));
    return out + feedback.progress;
}

RadioData filled(std::uint8_t v) {
    RadioData d;
    d.image.fill(v);
    return d;
}

enum class Exchange { Read, Write, InfoRead, InfoWrite, TuneEnter, TuneItem, TuneValue, TuneWrite, TuneEnd };

// Runs one exchange; the tune exchanges after the radio was put into tune mode (and the
// link's failure cleared). True when the exchange succeeded.
bool run(Exchange e, Bench& b, int item) {
    RadioData data = filled(0x5A);
    int version = 2;
    switch (e) {
    case Exchange::Read:
        return bool(readRadio(b.link, b.feedback, data));
    case Exchange::Write:
        return writeRadio(b.link, b.feedback, data, version, {7, QStringLiteral("T")});
    case Exchange::InfoRead:
        return bool(readEmbedInfo(b.link, b.feedback, data));
    case Exchange::InfoWrite:
        return writeEmbedInfo(b.link, b.feedback, data);
    case Exchange::TuneEnter:
        return bool(enterTuneMode(b.link, b.feedback, data));
    default:
        break;
    }
    const auto entry = enterTuneMode(b.link, b.feedback, b.radio.memory());
    if (!entry)
        return false;
    b.link.clearFailure();
    switch (e) {
    case Exchange::TuneItem:
        return enterTuneItem(b.link, item, 2, entry->data) == 1;
    case Exchange::TuneValue:
        return enterTuneItem(b.link, item, 2, entry->data) == 1 && sendTuneValue(b.link, item, 99);
    case Exchange::TuneWrite:
        return writeTuneChannels(b.link, b.feedback, entry->data) == 1;
    default:
        return leaveTuneModeProbe(b.link, false);
    }
}

} // namespace

Q_DECLARE_METATYPE(orv::LinkFailure)
Q_DECLARE_METATYPE(Exchange)

class TestLinkControl : public QObject {
    Q_OBJECT

private slots:
    // Stopped right after the 10th send (the 7th block request), a read ends at once, just as
    // one whose cable is pulled there: same message, same progress, nothing taken, port closed.
    void stopInTheMiddleOfARead() {
        Bench stopped;
        CancelToken token;
        stopped.link.setCancelToken(&token);
        stopped.wire.onSend = [&](int sends) {
            if (sends == 10)
                token.cancel();
        };
        RadioData data = filled(0x5A);
        QVERIFY(!readRadio(stopped.link, stopped.feedback, data));
        QVERIFY(data == filled(0x5A));
        QCOMPARE(stopped.sent.size(), 10);
        QCOMPARE(stopped.clock.nowMs(), stopped.sent.last().first); // not one more wait
        QCOMPARE(stopped.link.failure(), LinkFailure::Stopped);
        QVERIFY(stopped.link.failed());
        QVERIFY(!stopped.wire.isOpen());

        Bench cut;
        cut.wire.cutAfterSends = 10;
        QVERIFY(!readRadio(cut.link, cut.feedback, data));
        QCOMPARE(cut.link.failure(), LinkFailure::LineLost);
        QCOMPARE(seen(stopped.feedback), seen(cut.feedback));
        QCOMPARE(stopped.feedback.texts(),
                 QStringList{QStringLiteral("Reading data interrupted. Please read again!")});
        QCOMPARE(stopped.feedback.progress.last(), QStringLiteral("close"));
    }

    // Stopped as the 6th block goes out, a write sends nothing more; the block on the wire is
    // lost with the port, as with a pulled cable, and the message is the cable's.
    void stopInTheMiddleOfAWrite() {
        Bench stopped;
        CancelToken token;
        stopped.link.setCancelToken(&token);
        stopped.wire.onSend = [&](int sends) {
            if (sends == 3 + 6)
                token.cancel();
        };
        RadioData data = filled(0x5A);
        int version = 2;
        QVERIFY(!writeRadio(stopped.link, stopped.feedback, data, version, {7, QStringLiteral("T")}));
        QCOMPARE(stopped.sent.size(), 3 + 6);
        QCOMPARE(stopped.radio.log().blocksWritten, (QList<int>{0, 1, 2, 3, 4}));
        QCOMPARE(stopped.link.failure(), LinkFailure::Stopped);
        QVERIFY(!stopped.wire.isOpen());

        Bench cut;
        cut.wire.cutAfterSends = 3 + 6;
        QVERIFY(!writeRadio(cut.link, cut.feedback, data, version, {7, QStringLiteral("T")}));
        QCOMPARE(seen(stopped.feedback), seen(cut.feedback));
        QCOMPARE(stopped.feedback.texts(),
                 QStringList{QStringLiteral("Writing data error, please write again!")});
    }

    // A token set before the exchange: the port is not even opened and the handshake's
    // message is shown. Reset, with the failure cleared, the next exchange runs normally.
    void stoppedBeforeItStarts() {
        Bench b;
        CancelToken token;
        token.cancel();
        b.link.setCancelToken(&token);
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QVERIFY(b.sent.isEmpty());
        QCOMPARE(b.link.failure(), LinkFailure::Stopped);
        QCOMPARE(b.feedback.texts(),
                 QStringList{QStringLiteral("COM2 port don't respond, please check your connection!")});

        token.reset();
        b.link.clearFailure();
        QVERIFY(readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(b.link.failure(), LinkFailure::None);
    }

    // A Stop from another thread while the exchange waits on the real clock: a silent radio
    // would cost three attempts of the opening code (over two seconds); stopped early, the
    // read ends soon after, whichever thread runs it.
    void stopFromAnotherThread_data() {
        QTest::addColumn<bool>("onWorker");
        QTest::newRow("exchange on the application thread") << false;
        QTest::newRow("exchange on a worker thread") << true;
    }
    void stopFromAnotherThread() {
        QFETCH(bool, onWorker);
        sim::VirtualRadio radio;
        sim::RadioFaults faults;
        faults.silent = true;
        radio.setFaults(faults);
        sim::MemoryLink wire(radio, SystemClock::instance());
        RadioLink link(wire, SystemClock::instance(), QStringLiteral("COM2"));
        CancelToken token;
        link.setCancelToken(&token);
        test::RecordingFeedback feedback;

        bool done = true;
        const auto exchange = [&] { done = bool(readRadio(link, feedback, RadioData{})); };
        const auto stop = [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            token.cancel();
        };
        QElapsedTimer timer;
        timer.start();
        if (onWorker) {
            std::thread worker(exchange);
            stop();
            worker.join();
        } else {
            std::thread stopper(stop);
            exchange();
            stopper.join();
        }
        const qint64 took = timer.elapsed();
        QVERIFY(!done);
        QCOMPARE(link.failure(), LinkFailure::Stopped);
        QVERIFY2(took < 2000, qPrintable(QString::number(took)));
        QVERIFY(radio.log().openingCodes < 3);
        QVERIFY(!wire.isOpen());
    }

    // The reason each failure leaves on the link, and None after a success.
    void failureReasons_data() {
        QTest::addColumn<Exchange>("exchange");
        QTest::addColumn<int>("item"); // tune item code for TuneItem / TuneValue
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QByteArray>("identity"); // empty: the right one
        QTest::addColumn<QString>("openFailure");
        QTest::addColumn<int>("cutAfter");
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<LinkFailure>("failure");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* title, Exchange e, const QStringList& faults, LinkFailure failure,
                            const char* name, int item = 0, const QByteArray& identity = {},
                            const QString& openFailure = {}, int cutAfter = -1, int stopAfter = -1) {
            QTest::newRow(title) << e << item << faults << identity << openFailure << cutAfter << stopAfter
                                 << failure << QString::fromLatin1(name);
        };
        using E = Exchange;
        using F = LinkFailure;
        row("read: port will not open", E::Read, {}, F::PortUnavailable, "port-unavailable", 0, {}, "busy");
        row("read: silent radio", E::Read, {"silent"}, F::NoAnswer, "no-answer");
        row("read: no closing ack", E::Read, {"no-final-ack"}, F::NoAnswer, "no-answer");
        row("read: identity too long", E::Read, {}, F::BadReply, "bad-reply", 0, "RZ4K8X");
        row("read: other radio", E::Read, {}, F::WrongRadio, "wrong-radio", 0, "QX9Z1");
        row("read: radio stops", E::Read, {"stop-after-block:39"}, F::NoAnswer, "no-answer");
        row("read: short reply", E::Read, {"short-reply-at-block:40"}, F::BadReply, "bad-reply");
        row("read: address outside the image", E::Read, {"wrong-address-at-block:9:0x3FC"}, F::BadReply,
            "bad-reply");
        row("read: cable pulled", E::Read, {}, F::LineLost, "line-lost", 0, {}, {}, 10);
        row("read: stopped", E::Read, {}, F::Stopped, "stopped", 0, {}, {}, -1, 10);
        row("write: refused block", E::Write, {"nak-at-block:86"}, F::RefusedBlock, "refused-block");
        row("write: radio stops", E::Write, {"stop-after-block:5"}, F::NoAnswer, "no-answer");
        row("write: cable pulled", E::Write, {}, F::LineLost, "line-lost", 0, {}, {}, 10);
        row("write: other radio", E::Write, {}, F::WrongRadio, "wrong-radio", 0, "QX9Z1");
        row("information read: short reply", E::InfoRead, {"short-reply-at-block:100"}, F::BadReply,
            "bad-reply");
        row("information read: radio stops", E::InfoRead, {"stop-after-block:121"}, F::NoAnswer, "no-answer");
        row("information write: refused block", E::InfoWrite, {"nak-at-block:99"}, F::RefusedBlock,
            "refused-block");
        row("tune: wrong header", E::TuneEnter, {"bad-header-at-block:33"}, F::BadReply, "bad-reply");
        row("tune: short reply", E::TuneEnter, {"short-reply-at-block:0x5E"}, F::BadReply, "bad-reply");
        row("tune: radio stops", E::TuneEnter, {"stop-after-block:36"}, F::NoAnswer, "no-answer");
        row("tune: tune code unanswered", E::TuneEnter, {"no-tune-ack"}, F::NoAnswer, "no-answer");
        row("tune item: refused", E::TuneItem, {"tune-refuse:m"}, F::BadReply, "bad-reply", 2);
        row("tune item: bare acknowledgement", E::TuneItem, {"tune-bare-ack"}, F::BadReply, "bad-reply", 0);
        row("tune value: radio gone", E::TuneValue, {"tune-silent-after:2"}, F::NoAnswer, "no-answer", 0);
        row("tune value: longer reply", E::TuneValue, {"tune-long-reply"}, F::BadReply, "bad-reply", 1);
        row("tune write: refused block", E::TuneWrite, {"nak-at-block:35"}, F::RefusedBlock, "refused-block");
        row("tune end: radio gone", E::TuneEnd, {"tune-silent-after:0"}, F::NoAnswer, "no-answer");
        row("read: ok", E::Read, {}, F::None, "none");
        row("write: ok", E::Write, {}, F::None, "none");
        row("information read: ok", E::InfoRead, {}, F::None, "none");
        row("information write: ok", E::InfoWrite, {}, F::None, "none");
        row("tune: ok", E::TuneEnter, {}, F::None, "none");
        row("tune item: ok", E::TuneItem, {}, F::None, "none", 6);
        row("tune value: ok", E::TuneValue, {}, F::None, "none", 0);
        row("tune write: ok", E::TuneWrite, {}, F::None, "none");
        row("tune end: ok", E::TuneEnd, {}, F::None, "none");
    }
    void failureReasons() {
        QFETCH(Exchange, exchange);
        QFETCH(int, item);
        QFETCH(QStringList, faults);
        QFETCH(QByteArray, identity);
        QFETCH(QString, openFailure);
        QFETCH(int, cutAfter);
        QFETCH(int, stopAfter);
        QFETCH(LinkFailure, failure);
        QFETCH(QString, name);
        Bench b(faults);
        if (!identity.isEmpty())
            b.radio.setIdentity(identity);
        b.wire.setOpenFailure(openFailure);
        b.wire.cutAfterSends = cutAfter;
        CancelToken token;
        b.link.setCancelToken(&token);
        b.wire.onSend = [&](int sends) {
            if (sends == stopAfter)
                token.cancel();
        };
        QCOMPARE(run(exchange, b, item), failure == LinkFailure::None);
        QCOMPARE(b.link.failure(), failure);
        QCOMPARE(linkFailureName(b.link.failure()), name);
    }

    // The first failure is kept until it is cleared; opening the port again does not clear it.
    void firstFailureIsKept() {
        Bench b({QStringLiteral("silent")});
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(b.link.failure(), LinkFailure::NoAnswer);
        b.wire.setOpenFailure(QStringLiteral("busy"));
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(b.link.failure(), LinkFailure::NoAnswer);
        b.link.clearFailure();
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(b.link.failure(), LinkFailure::PortUnavailable);

        // Tune mode keeps the port between actions: a step on a link that failed before (its
        // reason since cleared) sends nothing and tells why again.
        Bench t;
        QVERIFY(enterTuneMode(t.link, t.feedback, t.radio.memory()));
        t.wire.cutAfterSends = int(t.sent.size()) + 1;
        QCOMPARE(enterTuneItem(t.link, 0, 2, t.radio.memory()), 0);
        QCOMPARE(t.link.failure(), LinkFailure::LineLost);
        t.link.clearFailure();
        const auto sends = t.sent.size();
        QVERIFY(!sendTuneValue(t.link, 0, 9));
        QCOMPARE(t.sent.size(), sends);
        QCOMPARE(t.link.failure(), LinkFailure::LineLost);
    }

    // The observer learns the radio's identity once per handshake as soon as it came in, even
    // when the handshake then fails; never when the identity was not this radio's.
    void handshakeObserver() {
        Bench b({QStringLiteral("no-final-ack")});
        b.radio.setModelCode(40);
        b.radio.setDataVersion(3);
        b.radio.memory().modelBlock()[0] = 0x5C;
        QList<RadioLink::Handshake> handshakes;
        b.link.setHandshakeObserver([&](const RadioLink::Handshake& h) { handshakes.append(h); });
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(handshakes.size(), 1);
        QCOMPARE(handshakes[0].modelCode, 40);
        QCOMPARE(handshakes[0].identity.dataVersion, 3);
        QCOMPARE(handshakes[0].identity.modelBlock0, std::uint8_t(0x5C));
        QVERIFY(handshakes[0].identitySeen);

        b.setFaults({});
        QVERIFY(readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(handshakes.size(), 2);
        QCOMPARE(handshakes[1].modelCode, 40);

        b.radio.setIdentity("QX9Z1");
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        b.setFaults({QStringLiteral("silent")});
        QVERIFY(!readRadio(b.link, b.feedback, RadioData{}));
        QCOMPARE(handshakes.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestLinkControl)
#include "test_link_control.moc"
